#pragma once

#include <QDateTime>
#include <QString>

#include <chrono>

// What the game asks of the system, behind one seam so that a test never waits on the clock,
// never leaves the process and never meets another copy of the game: yielding to the event
// loop, ending the program, the single-copy lock, the clock, the facts about the program file
// and where the player may write. It knows no window: what the windows ask of the desktop goes
// through widgets/Bureau. PlateformeQt is the real one; the tests have a recording fake.
class Plateforme
{
public:
    virtual ~Plateforme() = default;

    // Lets the windows repaint in the middle of a handler; clicks wait.
    virtual void traiterEvenements() = 0;
    // A yield that lasts: the windows repaint and take the player's clicks and keys for this
    // long. False when the program was asked to end meanwhile.
    virtual bool patienter(std::chrono::milliseconds duree) = 0;
    // Leaves every event loop; the process then exits with this status.
    virtual void terminer(int statut) = 0;

    // True when another copy of the program holds the single-copy lock.
    virtual bool autreCopieEnCours() = 0;
    // The folder of the game's own files: the database as shipped, the help and the About box's
    // documents. The program's own folder in the build tree and in a portable copy; in an
    // install, the system's folder for the game's data.
    virtual QString dossierFichiers() const = 0;
    // True for the program built for installing. Its files are shipped with it, on a system
    // under the package manager's care, which reports a changed file and replaces it at the
    // next upgrade: the game never writes them.
    virtual bool estInstalle() const = 0;
    // The program file's name as it is on disk, extension included if it has one.
    virtual QString nomProgramme() const = 0;
    virtual QDateTime horodatageProgramme() const = 0;
    virtual QDateTime maintenant() const = 0;

    // Whether this player can change the file where it lies: write it and create files beside
    // it, as the database engine does for its journal.
    virtual bool fichierModifiable(const QString &fichier) const = 0;
    // The player's own folder for the game's files; empty when there is none.
    virtual QString dossierDonnees() const = 0;
};
