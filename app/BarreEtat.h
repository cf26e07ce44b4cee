#pragma once

#include <QDateTime>
#include <QStatusBar>

#include <array>

class Panneau3D;
class Plateforme;

// The main window's status line: the program's text, the four lock keys, the date and the time.
class BarreEtat : public QStatusBar
{
    Q_OBJECT

public:
    enum class Verrou { Defilement, Insertion, Majuscules, Numerique };

    // The date and time panels show the platform's clock.
    explicit BarreEtat(const Plateforme &plateforme, QWidget *parent = nullptr);

    void setTextePrincipal(const QString &texte);
    QString textePrincipal() const { return textePrincipal_; }

    bool etatVerrou(Verrou verrou) const;

protected:
    bool eventFilter(QObject *objet, QEvent *evenement) override;
    void changeEvent(QEvent *evenement) override;
    void paintEvent(QPaintEvent *evenement) override;

private:
    Panneau3D *ajouterPanneau(const QString &texte, Qt::Alignment alignement, int etirement = 0);
    void actualiser();
    void ajusterLargeurs();
    void afficherPrincipal();

    Panneau3D *principal_ = nullptr;
    std::array<Panneau3D *, 4> verrous_{};
    Panneau3D *date_ = nullptr;
    Panneau3D *heure_ = nullptr;

    QString textePrincipal_;
    std::array<bool, 4> etats_{};
    const Plateforme &plateforme_;
};
