#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

#include <optional>

class QPainter;

// A caption panel with the classic double 3-D bevel; also a container for child widgets.
class Panneau3D : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString legende READ legende WRITE setLegende)

public:
    enum class Biseau { Aucun, Releve, Enfonce };
    enum class Relief { Aucun, Enfonce, Releve };

    explicit Panneau3D(QWidget *parent = nullptr);

    void setLegende(const QString &texte);
    QString legende() const { return legende_; }

    void setBiseauExterieur(Biseau biseau);
    Biseau biseauExterieur() const { return biseauExterieur_; }
    void setBiseauInterieur(Biseau biseau);
    Biseau biseauInterieur() const { return biseauInterieur_; }
    void setLargeurBiseau(int pixels);
    int largeurBiseau() const { return largeurBiseau_; }
    void setLargeurBordure(int pixels);
    int largeurBordure() const { return largeurBordure_; }

    void setCouleurFond(const QColor &couleur);
    QColor couleurFond() const;
    void setCouleurTexte(const QColor &couleur);
    QColor couleurTexte() const { return couleurTexte_; }

    void setAlignement(Qt::Alignment alignement);
    Qt::Alignment alignement() const { return alignement_; }
    void setRelief(Relief relief);
    Relief relief() const { return relief_; }

    // Where the caption goes: inside both bevels and the border band.
    QRect zoneContenu() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Rings of `largeur` pixels drawn inwards from the edge of `cadre`; shared by the other 3-D
    // widgets.
    static void peindreBiseau(QPainter &peintre, QRect cadre, int largeur, const QColor &hautGauche,
                              const QColor &basDroite);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *evenement) override;

private:
    int epaisseur() const;
    void actualiserGeometrie();

    QString legende_;
    Biseau biseauExterieur_ = Biseau::Releve;
    Biseau biseauInterieur_ = Biseau::Aucun;
    int largeurBiseau_ = 2;
    int largeurBordure_ = 3;
    QColor couleurFond_; // invalid: follow the palette's button face
    QColor couleurTexte_ = Qt::black;
    Qt::Alignment alignement_ = Qt::AlignCenter;
    Relief relief_ = Relief::Aucun;
    mutable std::optional<QSize> tailleTexte_; // the caption's, in the current font
};
