#pragma once

#include "database/ControleDonnees.h"

#include <QDialog>

class Bouton3D;
class Bureau;
class Plateforme;
class QLineEdit;
struct Param;

// The score entry dialog: the player types a name, and the game's score replaces the lowest
// row of the score table when it is strictly higher; otherwise the player is told why not.
class Enregistre : public QDialog
{
    Q_OBJECT

public:
    static constexpr int longueurNom = 15;

    Enregistre(const Param &param, const Plateforme &plateforme, Bureau &bureau,
               QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *evenement) override;
    void closeEvent(QCloseEvent *evenement) override;

private:
    void Valider_Click();
    void Annuler_Click();
    void enregistrerScore();
    void refuserScore(const QString &comparaison);
    void signalerEchec();
    void fermerDialogue();

    const Param &param_;
    const Plateforme &plateforme_;
    Bureau &bureau_;
    ControleDonnees DataScores;
    QLineEdit *SaisieNom = nullptr;
    Bouton3D *Valider = nullptr;
    Bouton3D *Annuler = nullptr;
};
