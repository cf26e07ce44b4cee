#pragma once

#include <QString>

class Plateforme;

// Where the game database is read and written. In the build tree and in a portable copy, a
// player who can write the file shipped beside the program plays on it, as the game always
// has. Anyone else, and everyone on an installed game, root included, keeps a copy of it in
// their own data folder, made from the shipped file at the first start and used from then on,
// and brought up to the shipped file's flags when those are newer (MiseAJourCopie); an
// installed game's shipped file is never written.
class EmplacementBase
{
public:
    static QString nomFichier() { return QStringLiteral("Pavoria.dat"); }

    // chemin: the folder of the game's files, separator included.
    static QString choisirFichier(const Plateforme &plateforme, const QString &chemin);
    // Whether the file chosen must only be read: an installed game's own file, played on
    // because no copy could be made.
    static bool lectureSeule(const Plateforme &plateforme, const QString &chemin,
                             const QString &fichier);
};
