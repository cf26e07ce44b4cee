#include "app/Illustration.h"

#include <QImageReader>
#include <QPainter>

Illustration::Illustration(const QString &image, QWidget *parent)
    : QWidget(parent)
    , image_(image)
    , taille_(QImageReader(image).size())
{
}

void Illustration::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    image_.paint(&peintre, rect());
}
