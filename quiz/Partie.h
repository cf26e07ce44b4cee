#pragma once

#include "database/ControleDonnees.h"
#include "quiz/Affichage.h"
#include "quiz/Param.h"

#include <QObject>

#include <array>
#include <chrono>

class Plateforme;
class QRandomGenerator;

// The quiz engine: the game state, what the main window shows of it, and the game's
// procedures with their steps in order. It knows no window: the window mirrors affichage()
// whenever affichageChange() is emitted, and shows the messages and the score dialog it asks
// for, modally, before the signal returns.
class Partie : public QObject
{
    Q_OBJECT

public:
    static constexpr int nombreQuestions = 15;
    // How long the verdict of a right answer stays over the closed masks before the next flag:
    // time for the eyes to leave the button clicked for the verdict panel and read a word or
    // two there, and short enough that fourteen of them do not drag a game out.
    static constexpr std::chrono::milliseconds dureeVerdict{600};

    Partie(Param &param, Plateforme &plateforme, QRandomGenerator &hasard,
           QObject *parent = nullptr);

    const Param &param() const { return param_; }
    const Affichage &affichage() const { return affichage_; }

    void viderCompteurs();
    void NouvellePartie();
    void NouvelleQuestion();
    void FinDePartie();
    // A click on answer button n (1 to 3).
    void Repondre(int n);

signals:
    void affichageChange();
    // A message for the player, in a modal box.
    void messageDemande(const QString &titre, const QString &texte);
    // The score entry dialog, at the end of a game.
    void enregistrementDemande();

private:
    struct Essai
    {
        int points;
        const char16_t *verdict;
    };
    Essai essaiDeLaBonneReponse(int n) const;
    bool montrerVerdict();
    void tirerQuestion();
    bool poserQuestion(const std::array<int, 3> &numeros);
    void fermerMasques();
    void effacerCompteurs(); // question number, score and verdict
    void viderReponses();
    void montrer();
    void signalerPanne(const QString &erreur);

    Param &param_;
    Plateforme &plateforme_;
    QRandomGenerator &hasard_;
    ControleDonnees DataImages;
    Affichage affichage_;
    // Counts the games started, so that a turn can tell that a new game came during its wait.
    quint64 parties_ = 0;
};
