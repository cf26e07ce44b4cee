#pragma once

#include <QString>

// A new empty file, named from a template ending in XXXXXX as QTemporaryFile's, for a whole
// file to be written under a name no other file has and then put in place. It goes with this
// object unless it was. Unlike QTemporaryFile, which keeps its file open until it goes, it
// holds nothing open: Windows renames no file that is open.
class FichierNeuf
{
public:
    explicit FichierNeuf(const QString &modele);
    ~FichierNeuf();
    FichierNeuf(const FichierNeuf &) = delete;
    FichierNeuf &operator=(const FichierNeuf &) = delete;

    // Empty if the file could not be made; erreur() then says why.
    const QString &nom() const { return nom_; }
    const QString &erreur() const { return erreur_; }
    // Puts the file in the place of another as Disque::remplacer does, and keeps it there.
    // Empty on success, else why not, in French.
    QString mettreEnPlace(const QString &ancien);

private:
    QString nom_;
    QString erreur_;
    bool enPlace_ = false;
};
