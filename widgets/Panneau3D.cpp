#include "widgets/Panneau3D.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace {

// A panel only shows text, so assistive technology should present it like a label.
class PanneauAccessible : public QAccessibleWidget
{
public:
    explicit PanneauAccessible(QWidget *panneau)
        : QAccessibleWidget(panneau, QAccessible::StaticText)
    {
    }
};

QAccessibleInterface *fabriqueAccessible(const QString &classe, QObject *objet)
{
    if (classe == QLatin1String("Panneau3D") && objet && objet->isWidgetType())
        return new PanneauAccessible(static_cast<QWidget *>(objet));
    return nullptr;
}

QColor couleurOmbre(const QColor &fond)
{
    // On the classic grey face (192) this gives the classic shadow grey (128).
    return fond.darker(150);
}

} // namespace

Panneau3D::Panneau3D(QWidget *parent)
    : QFrame(parent)
{
    // Qt keeps accessibility factories in one process-wide list: register ours once.
    static const bool fabriqueInstallee = [] {
        QAccessible::installFactory(fabriqueAccessible);
        return true;
    }();
    Q_UNUSED(fabriqueInstallee);

    setAttribute(Qt::WA_OpaquePaintEvent);
    actualiserGeometrie();
}

void Panneau3D::setLegende(const QString &texte)
{
    if (texte == legende_)
        return;
    legende_ = texte;
    tailleTexte_.reset();
    setAccessibleName(texte);
    updateGeometry();
    update();
}

void Panneau3D::setBiseauExterieur(Biseau biseau)
{
    biseauExterieur_ = biseau;
    actualiserGeometrie();
}

void Panneau3D::setBiseauInterieur(Biseau biseau)
{
    biseauInterieur_ = biseau;
    actualiserGeometrie();
}

void Panneau3D::setLargeurBiseau(int pixels)
{
    largeurBiseau_ = qMax(0, pixels);
    actualiserGeometrie();
}

void Panneau3D::setLargeurBordure(int pixels)
{
    largeurBordure_ = qMax(0, pixels);
    actualiserGeometrie();
}

void Panneau3D::setCouleurFond(const QColor &couleur)
{
    couleurFond_ = couleur;
    update();
}

QColor Panneau3D::couleurFond() const
{
    return couleurFond_.isValid() ? couleurFond_ : palette().color(QPalette::Button);
}

void Panneau3D::setCouleurTexte(const QColor &couleur)
{
    couleurTexte_ = couleur;
    update();
}

void Panneau3D::setAlignement(Qt::Alignment alignement)
{
    alignement_ = alignement;
    update();
}

void Panneau3D::setRelief(Relief relief)
{
    relief_ = relief;
    update();
}

int Panneau3D::epaisseur() const
{
    const int exterieur = biseauExterieur_ == Biseau::Aucun ? 0 : largeurBiseau_;
    const int interieur = biseauInterieur_ == Biseau::Aucun ? 0 : largeurBiseau_;
    // With no bevel at all the band would not differ from the content, and keeping it would
    // clip captions in panels just tall enough for their font.
    const int bande = exterieur + interieur > 0 ? largeurBordure_ : 0;
    return exterieur + bande + interieur;
}

QRect Panneau3D::zoneContenu() const
{
    const int e = epaisseur();
    return rect().marginsRemoved(QMargins(e, e, e, e));
}

void Panneau3D::actualiserGeometrie()
{
    // Layouts placed inside the panel then keep clear of the bevels.
    const int e = epaisseur();
    setContentsMargins(e, e, e, e);
    updateGeometry();
    update();
}

QSize Panneau3D::sizeHint() const
{
    // Layouts ask again and again; shaping the caption each time was most of their work.
    if (!tailleTexte_) {
        const QFontMetrics mesures(font());
        tailleTexte_ = QSize(mesures.horizontalAdvance(legende_), mesures.height());
    }
    const int e = 2 * epaisseur();
    return *tailleTexte_ + QSize(e + 2, e);
}

QSize Panneau3D::minimumSizeHint() const
{
    const int e = 2 * epaisseur();
    return QSize(e, e);
}

void Panneau3D::changeEvent(QEvent *evenement)
{
    if (evenement->type() == QEvent::FontChange)
        tailleTexte_.reset();
    QFrame::changeEvent(evenement);
}

void Panneau3D::peindreBiseau(QPainter &peintre, QRect cadre, int largeur, const QColor &hautGauche,
                              const QColor &basDroite)
{
    // Whole-pixel rectangles rather than lines: crisp at any device pixel ratio, no pen offsets.
    for (int i = 0; i < largeur && cadre.width() > 0 && cadre.height() > 0; ++i) {
        peintre.fillRect(QRect(cadre.left(), cadre.top(), cadre.width() - 1, 1), hautGauche);
        peintre.fillRect(QRect(cadre.left(), cadre.top(), 1, cadre.height() - 1), hautGauche);
        peintre.fillRect(QRect(cadre.left(), cadre.bottom(), cadre.width(), 1), basDroite);
        peintre.fillRect(QRect(cadre.right(), cadre.top(), 1, cadre.height()), basDroite);
        cadre.adjust(1, 1, -1, -1);
    }
}

void Panneau3D::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    const QColor fond = couleurFond();
    const QColor clair = Qt::white;
    const QColor ombre = couleurOmbre(fond);
    peintre.fillRect(rect(), fond);

    const auto peindre = [&](Biseau biseau, const QRect &cadre) {
        if (biseau == Biseau::Releve)
            peindreBiseau(peintre, cadre, largeurBiseau_, clair, ombre);
        else if (biseau == Biseau::Enfonce)
            peindreBiseau(peintre, cadre, largeurBiseau_, ombre, clair);
    };
    peindre(biseauExterieur_, rect());
    const int interieur = biseauInterieur_ == Biseau::Aucun ? 0 : largeurBiseau_;
    const int e = epaisseur() - interieur;
    peindre(biseauInterieur_, rect().marginsRemoved(QMargins(e, e, e, e)));

    const QRect contenu = zoneContenu();
    if (legende_.isEmpty() || contenu.isEmpty())
        return;

    peintre.setClipRect(contenu);
    peintre.setFont(font());
    const Qt::Alignment horizontal =
        QStyle::visualAlignment(layoutDirection(), alignement_) & Qt::AlignHorizontal_Mask;
    const int drapeaux = int(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine;
    if (relief_ != Relief::Aucun) {
        // Light below-right reads as engraved; a dark shadow there reads as standing out.
        peintre.setPen(relief_ == Relief::Enfonce ? clair : ombre);
        peintre.drawText(contenu.translated(1, 1), drapeaux, legende_);
    }
    peintre.setPen(couleurTexte_);
    peintre.drawText(contenu, drapeaux, legende_);
}
