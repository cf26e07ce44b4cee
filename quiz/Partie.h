#pragma once

#include "quiz/Affichage.h"
#include "quiz/Param.h"
#include "scores/ControleDonnees.h"

#include <QObject>
#include <array>
#include <functional>

class Plateforme;
class QRandomGenerator;

// The quiz engine: the game state, what the main window shows of it, and the game's
// procedures with their steps in order. It knows no window: the window mirrors affichage()
// whenever affichageChange() is emitted, and opens the score dialog when asked to.
class Partie : public QObject
{
    Q_OBJECT

public:
    static constexpr int nombreQuestions = 15;
    static constexpr int nombreDrapeaux = ControleDonnees::nombreDrapeaux;

    Partie(Param &param, Plateforme &plateforme, QRandomGenerator &hasard,
           QObject *parent = nullptr);

    const Param &param() const { return param_; }
    const Affichage &affichage() const { return affichage_; }

    // Shows the score entry dialog modally; called at the end of a game.
    void setEnregistrement(std::function<void()> enregistrement);

    void viderCompteurs();
    void NouvellePartie();
    void NouvelleQuestion();
    void FinDePartie();
    // A click on answer button n (1 to 3).
    void Repondre(int n);

signals:
    void affichageChange();

private:
    struct Essai
    {
        int points;
        const char16_t *verdict;
    };
    Essai essaiDeLaBonneReponse(int n) const;
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
    std::function<void()> enregistrement_;
    Affichage affichage_;
};
