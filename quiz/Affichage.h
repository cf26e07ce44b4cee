#pragma once

#include <QImage>
#include <QString>

#include <array>

// What the main window shows of the game; the engine keeps it, the window mirrors it.
struct Affichage
{
    std::array<QString, 3> reponses; // captions of the three answer buttons
    std::array<bool, 3> reponsesActives{};
    QString resultat;     // verdict of the last click
    QString score;        // "12 points"
    QString comptePartie; // "Jeu n° 7"
    bool masquesFermes = true;
    QImage drapeau; // null until a first question has been drawn
};
