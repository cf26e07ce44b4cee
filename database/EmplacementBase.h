#pragma once

#include <QString>

class Plateforme;

// Where the game database is read and written. A player who can write the file shipped
// beside the program plays on it, as the game always has. On a system install they cannot,
// so they keep a copy of it in their own data folder, made from the shipped file at the
// first start and used from then on; the shipped file is never written.
class EmplacementBase
{
public:
    static QString nomFichier() { return QStringLiteral("Pavoria.dat"); }

    // chemin: the program's folder, separator included.
    static QString choisirFichier(const Plateforme &plateforme, const QString &chemin);
};
