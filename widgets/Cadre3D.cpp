#include "widgets/Cadre3D.h"

#include <QPainter>

namespace {

// Distance of the etched line from the edge, as the classic caption-less frame leaves.
constexpr int retrait = 3;
// The line and its white highlight.
constexpr int epaisseurTrait = 2;

} // namespace

Cadre3D::Cadre3D(QWidget *parent)
    : QFrame(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Layouts placed inside the frame then keep clear of the line.
    const int marge = retrait + epaisseurTrait;
    setContentsMargins(marge, marge, marge, marge);
}

QSize Cadre3D::minimumSizeHint() const
{
    const int cote = 2 * (retrait + epaisseurTrait);
    return QSize(cote, cote);
}

void Cadre3D::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    const QColor face = palette().color(QPalette::Button);
    peintre.fillRect(rect(), face);

    const QRect trait = rect().adjusted(retrait, retrait, -retrait - 1, -retrait - 1);
    if (trait.width() < 2 || trait.height() < 2)
        return;
    // The white copy goes first, 1 px down-right, so the dark line stays whole where they cross.
    const auto contour = [&](const QRect &r, const QColor &couleur) {
        peintre.fillRect(QRect(r.left(), r.top(), r.width(), 1), couleur);
        peintre.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), couleur);
        peintre.fillRect(QRect(r.left(), r.top(), 1, r.height()), couleur);
        peintre.fillRect(QRect(r.right(), r.top(), 1, r.height()), couleur);
    };
    contour(trait.translated(1, 1), Qt::white);
    contour(trait, face.darker(150));
}
