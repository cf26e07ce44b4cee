#pragma once

#include <QDateTime>
#include <QString>

class QDialog;

// Everything that would block a test or leave the process goes through here: message
// boxes, modal windows, the desktop's openers, the help window, ending the program,
// the single-copy lock, the clock, the facts about the program file and where the player
// may write.
// PlateformeQt is the real one; the tests have a recording fake.
class Plateforme
{
public:
    virtual ~Plateforme() = default;

    // A modal message box with the critical icon and one OK button.
    virtual void afficherMessage(const QString &titre, const QString &texte) = 0;
    // Shows the window modally and returns once it has closed.
    virtual int executerFenetre(QDialog &fenetre) = 0;
    // Hands a file name, a mailto: or a web address to the desktop; failure is ignored.
    virtual void ouvrirDocument(const QString &texte) = 0;
    virtual void afficherAide(const QString &fichier) = 0;
    // Lets the windows repaint in the middle of a handler; clicks wait.
    virtual void traiterEvenements() = 0;
    // Leaves every event loop; the process then exits with this status.
    virtual void terminer(int statut) = 0;

    // True when another copy of the program holds the single-copy lock.
    virtual bool autreCopieEnCours() = 0;
    virtual QString dossierProgramme() const = 0;
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
