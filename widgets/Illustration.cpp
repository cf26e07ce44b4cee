#include "widgets/Illustration.h"

#include "widgets/Icones.h"

#include <QPainter>

#include <algorithm>

Illustration::Illustration(const QString &image, QWidget *parent)
    : QWidget(parent)
    , image_(Icones::image(image))
{
    // The single-density picture is the smallest.
    const QList<QSize> tailles = image_.availableSizes();
    if (!tailles.isEmpty())
        taille_ = *std::min_element(tailles.begin(), tailles.end(),
                                    [](QSize a, QSize b) { return a.width() < b.width(); });
}

void Illustration::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    image_.paint(&peintre, rect());
}
