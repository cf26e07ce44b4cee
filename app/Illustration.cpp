#include "app/Illustration.h"

#include <QPainter>

Illustration::Illustration(const QString &image, QWidget *parent)
    : QWidget(parent)
    , image_(image)
{
}

void Illustration::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    image_.paint(&peintre, rect());
}
