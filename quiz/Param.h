#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The shared game state: set at start-up or by the game's procedures, read everywhere.
struct Param
{
    QString Chemin;       // the game's files' folder, separator included
    QString FichierBase;  // the game database: Pavoria.dat under Chemin, or the player's copy
    QString VersionAppli; // "1.6"
    QString DateAppli;    // "16/04/2000 à 13:48"
    // FichierBase is an installed game's own file, played on for want of a copy: never written.
    bool BaseLectureSeule = false;

    int CompteTours = 0;  // question turns since the last new game; 16 once it has ended
    qint16 NumeroJeu = 0; // question on screen, 0 between games
    int BonneReponse = 0; // 1 to 3: the answer button that shows the flag's country
    qint16 Points = 0;

    // The title of every message the game shows the player.
    static QString titreMessages() { return QStringLiteral("Les Pavoria"); }

    static QString formerChemin(const QString &dossier);
    static QString formerVersion(int majeur, int mineur);
    static QString formerDate(const QDateTime &horodatage);
};
