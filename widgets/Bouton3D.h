#pragma once

#include <QColor>
#include <QPushButton>

class QPainter;

// A push button painted in the classic 3-D look; clicks, keys, mnemonics and
// accessibility stay QPushButton's own.
class Bouton3D : public QPushButton
{
    Q_OBJECT

public:
    explicit Bouton3D(QWidget *parent = nullptr);
    explicit Bouton3D(const QString &texte, QWidget *parent = nullptr);

    void setLargeurBiseau(int pixels);
    int largeurBiseau() const { return largeurBiseau_; }
    void setCouleurTexte(const QColor &couleur);
    QColor couleurTexte() const { return couleurTexte_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &position) const override;

private:
    QColor couleurOmbre() const;
    void peindreBords(QPainter &peintre, bool enfonce) const;
    QRect peindreIcone(QPainter &peintre, const QRect &contenu) const;
    void peindreTexte(QPainter &peintre, const QRect &zone) const;
    static void peindreFocus(QPainter &peintre, const QRect &focus);

    int largeurBiseau_ = 1;
    QColor couleurTexte_ = Qt::black;
};
