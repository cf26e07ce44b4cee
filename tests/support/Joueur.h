#pragma once

#include "app/Questionnaire.h"
#include "widgets/Bouton3D.h"
#include "widgets/Panneau3D.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// What a player does on the main window, for the tests that drive it.
namespace Joueur {

inline Bouton3D *reponse(Questionnaire &fenetre, int n)
{
    return fenetre.findChild<Bouton3D *>(QStringLiteral("Reponse0%1").arg(n));
}

inline QString legende(Questionnaire &fenetre, const char *nom)
{
    return fenetre.findChild<Panneau3D *>(QLatin1String(nom))->legende();
}

inline void commander(Questionnaire &fenetre, const char *cle)
{
    fenetre.findChild<QAction *>(QLatin1String(cle))->trigger();
}

// Answers the question on screen after this many wrong clicks.
inline void repondre(Questionnaire &fenetre, int erreurs = 0)
{
    const int bonne = fenetre.param().BonneReponse;
    for (int n = 1; n <= 3 && erreurs > 0; ++n) {
        if (n != bonne) {
            reponse(fenetre, n)->click();
            --erreurs;
        }
    }
    reponse(fenetre, bonne)->click();
}

// The country of the flag on screen.
inline QString bonPays(Questionnaire &fenetre)
{
    return reponse(fenetre, fenetre.param().BonneReponse)->text();
}

inline bool auRepos(Questionnaire &fenetre)
{
    for (int n = 1; n <= 3; ++n) {
        if (reponse(fenetre, n)->isEnabled() || !reponse(fenetre, n)->text().isEmpty())
            return false;
    }
    return fenetre.param().NumeroJeu == 0 && fenetre.param().Points == 0
           && fenetre.partie().affichage().masquesFermes && legende(fenetre, "Resultat").isEmpty()
           && legende(fenetre, "Score").isEmpty() && legende(fenetre, "ComptePartie").isEmpty();
}

// One key press per character, as a keyboard or an input method delivers them.
inline void taper(QWidget *saisie, const QString &texte)
{
    for (const char32_t codePoint : texte.toUcs4()) {
        QKeyEvent touche(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUcs4(&codePoint, 1));
        QApplication::sendEvent(saisie, &touche);
    }
}

// The score dialog's script: types a name and confirms.
inline int validerNom(QDialog &dialogue, const QString &nom)
{
    taper(dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom")), nom);
    dialogue.findChild<QPushButton *>(QStringLiteral("Valider"))->click();
    return 1;
}

} // namespace Joueur
