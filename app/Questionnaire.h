#pragma once

#include "app/Disposition.h"
#include "quiz/Param.h"
#include "quiz/Partie.h"

#include <QMainWindow>
#include <QRandomGenerator>

#include <array>

class BarreEtat;
class Bouton3D;
class Bureau;
class Cadre3D;
class Panneau3D;
class Plateforme;
class QLabel;
class QToolBar;

// The main window: the flag area behind its two masks, the answer area, the toolbar and the
// status bar. It mirrors the engine and hands the player's clicks to it.
class Questionnaire : public QMainWindow
{
    Q_OBJECT

public:
    // The seed fixes the game's draws, so that a test can replay a game.
    Questionnaire(Plateforme &plateforme, Bureau &bureau,
                  quint32 graine = QRandomGenerator::system()->generate(),
                  QWidget *parent = nullptr);
    ~Questionnaire() override;

    // Returns false when another copy runs: the player has been told and the program ends.
    bool Form_Load();

    const Param &param() const { return param_; }
    Partie &partie() { return partie_; }
    QString fichierAide() const { return fichierAide_; }

protected:
    void closeEvent(QCloseEvent *evenement) override;
    void resizeEvent(QResizeEvent *evenement) override;

private:
    void creerControles();
    void creerBarreBoutons();
    void creerBoiteImage(QWidget *centre);
    void creerBoiteBoutons(QWidget *centre);

    void Form_QueryUnload();
    void BarreBoutons_ButtonClick(const QString &cle);
    void Reponse01_Click();
    void Reponse02_Click();
    void Reponse03_Click();
    void ouvrirEnregistrement();
    void ouvrirScores();
    void ouvrirApropos();
    void ouvrirAide();
    void rattacher(QWidget &fenetre) const;

    void disposerFenetre();
    void disposerEnHauteur(int hauteurFenetre);
    void placer(QWidget *controle, const QRectF &twips) const;
    void placerDansFenetre(QWidget *controle, const QRectF &twips) const;
    void placerMasques(bool fermes);
    void refleterPartie();

    Plateforme &plateforme_;
    Bureau &bureau_;
    Param param_;
    QRandomGenerator hasard_;
    Partie partie_;
    Disposition disposition_;
    QString fichierAide_;

    QToolBar *BarreBoutons = nullptr;
    BarreEtat *Barre = nullptr;
    Cadre3D *BoiteImage = nullptr;
    Panneau3D *SupportImage = nullptr;
    QLabel *Dessin1 = nullptr;
    Panneau3D *MasqueGauche = nullptr;
    Panneau3D *MasqueDroit = nullptr;
    Cadre3D *BoiteBoutons = nullptr;
    Panneau3D *Resultat = nullptr;
    Panneau3D *Score = nullptr;
    Panneau3D *ComptePartie = nullptr;
    std::array<Bouton3D *, 3> Reponses{};
    // The answer button that had the focus when all three were disabled.
    Bouton3D *reponseFocalisee_ = nullptr;
    qint64 cleDrapeau_ = 0;
};
