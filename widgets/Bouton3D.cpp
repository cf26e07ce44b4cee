#include "widgets/Bouton3D.h"

#include "widgets/Panneau3D.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int drapeauxTexte = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
// Between the bevel and the dotted focus rectangle, and between icon and caption.
constexpr int ecart = 2;
constexpr int ecartIcone = 4;

} // namespace

Bouton3D::Bouton3D(QWidget *parent)
    : Bouton3D(QString(), parent)
{
}

Bouton3D::Bouton3D(const QString &texte, QWidget *parent)
    : QPushButton(texte, parent)
{
    // These buttons never act as the dialog's default: Enter must not press them.
    setAutoDefault(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Bouton3D::setLargeurBiseau(int pixels)
{
    largeurBiseau_ = qMax(0, pixels);
    updateGeometry();
    update();
}

void Bouton3D::setCouleurTexte(const QColor &couleur)
{
    couleurTexte_ = couleur;
    update();
}

QSize Bouton3D::sizeHint() const
{
    ensurePolished();
    const QFontMetrics mesures(font());
    QSize contenu(0, mesures.height());
    if (!text().isEmpty())
        contenu.setWidth(mesures.size(drapeauxTexte, text()).width());
    if (!icon().isNull()) {
        contenu.rwidth() += iconSize().width() + (text().isEmpty() ? 0 : ecartIcone);
        contenu.setHeight(qMax(contenu.height(), iconSize().height()));
    }
    // Outline, bevel, focus gap and the dotted line, plus the pressed shift, on each side.
    const int bord = 2 * (1 + largeurBiseau_ + ecart + 1) + 1;
    return contenu + QSize(bord + 2 * mesures.averageCharWidth(), bord);
}

QSize Bouton3D::minimumSizeHint() const
{
    return sizeHint();
}

bool Bouton3D::hitButton(const QPoint &position) const
{
    // The whole rectangle is painted as the button, whatever the style would call its bevel.
    return rect().contains(position);
}

void Bouton3D::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    peintre.fillRect(rect(), palette().color(QPalette::Button));
    const bool enfonce = isDown() || isChecked();
    peindreBords(peintre, enfonce);

    const int epaisseur = 1 + largeurBiseau_;
    const QRect interieur = rect().adjusted(epaisseur, epaisseur, -epaisseur, -epaisseur);
    if (interieur.isEmpty())
        return;
    // Pressed, the content moves down-right with the flat outline.
    const QRect contenu = interieur.translated(enfonce ? QPoint(1, 1) : QPoint(0, 0));
    peintre.setClipRect(interieur);

    const QRect zoneTexte = icon().isNull() ? contenu : peindreIcone(peintre, contenu);
    if (!text().isEmpty())
        peindreTexte(peintre, zoneTexte);
    if (hasFocus())
        peindreFocus(peintre, contenu.adjusted(ecart, ecart, -ecart, -ecart));
}

QColor Bouton3D::couleurOmbre() const
{
    return palette().color(QPalette::Button).darker(150);
}

void Bouton3D::peindreBords(QPainter &peintre, bool enfonce) const
{
    // Raised: a dark outer edge at the bottom right, then the bevel rings. Pressed: the
    // classic flat black and shadow outline.
    const QColor face = palette().color(QPalette::Button);
    const QColor ombre = couleurOmbre();
    const QRect bord = rect();
    const QRect biseau = bord.adjusted(1, 1, -1, -1);
    if (enfonce) {
        Panneau3D::peindreBiseau(peintre, bord, 1, Qt::black, Qt::black);
        Panneau3D::peindreBiseau(peintre, biseau, largeurBiseau_, ombre, ombre);
    } else {
        Panneau3D::peindreBiseau(peintre, bord, 1, face, Qt::black);
        Panneau3D::peindreBiseau(peintre, biseau, largeurBiseau_, Qt::white, ombre);
    }
}

QRect Bouton3D::peindreIcone(QPainter &peintre, const QRect &contenu) const
{
    // Icon and caption are centred together; the caption's rectangle is returned.
    const QPixmap image =
        icon().pixmap(iconSize(), devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled,
                      isChecked() ? QIcon::On : QIcon::Off);
    const QSize tailleImage = image.deviceIndependentSize().toSize();
    const int largeurTexte =
        text().isEmpty() ? 0 : peintre.fontMetrics().size(drapeauxTexte, text()).width();
    const int largeurTotale =
        tailleImage.width() + (text().isEmpty() ? 0 : ecartIcone + largeurTexte);
    const int gauche = contenu.left() + (contenu.width() - largeurTotale) / 2;
    peintre.drawPixmap(gauche, contenu.top() + (contenu.height() - tailleImage.height()) / 2,
                       image);
    return QRect(gauche + tailleImage.width() + ecartIcone, contenu.top(), largeurTexte,
                 contenu.height());
}

void Bouton3D::peindreTexte(QPainter &peintre, const QRect &zone) const
{
    peintre.setFont(font());
    if (isEnabled()) {
        peintre.setPen(couleurTexte_);
    } else {
        // The classic embossed grey: a white copy under a shadow-grey one.
        peintre.setPen(Qt::white);
        peintre.drawText(zone.translated(1, 1), drapeauxTexte, text());
        peintre.setPen(couleurOmbre());
    }
    peintre.drawText(zone, drapeauxTexte, text());
}

void Bouton3D::peindreFocus(QPainter &peintre, const QRect &focus)
{
    // Every other logical pixel, as a checkerboard so the dots meet at the corners; a dashed
    // cosmetic pen would thin out to one device pixel on HiDPI screens.
    const auto point = [&](int x, int y) {
        if ((x - focus.left() + y - focus.top()) % 2 == 0)
            peintre.fillRect(QRect(x, y, 1, 1), Qt::black);
    };
    for (int x = focus.left(); x <= focus.right(); ++x) {
        point(x, focus.top());
        point(x, focus.bottom());
    }
    for (int y = focus.top() + 1; y < focus.bottom(); ++y) {
        point(focus.left(), y);
        point(focus.right(), y);
    }
}
