#pragma once

#include <QString>

#include <optional>

// Brings a player's copy of the game database up to the flag table of the file shipped with
// the game when that one is newer, keeping the copy's ten scores. The new file is the shipped
// one given the copy's scores, written beside the copy, flushed to the disk and renamed over
// it: stopped at any moment, the player has the old copy or the new one, whole. A copy that the
// game's own checks refuse is left as it is, for the game to report it.
class MiseAJourCopie
{
public:
    MiseAJourCopie(QString livre, QString copie);

    // The version of a file's flag table (Schema::versionDrapeaux when it was built); none when
    // the file is not a database.
    [[nodiscard]] static std::optional<int> lireVersion(const QString &fichier);

    // Whether the shipped file's flag table is newer than the copy's. It reads the two files'
    // headers only, so that a start-up with nothing to do loads no database engine.
    [[nodiscard]] bool necessaire() const;
    // On failure the copy is as it was, and erreur() says why.
    [[nodiscard]] bool executer();
    [[nodiscard]] const QString &erreur() const { return erreur_; }

private:
    // The name of the new file while it is written: what an update cut short leaves behind.
    static QString modeleTemporaire(const QString &copie);
    void retirerRestes() const;
    [[nodiscard]] QString reprendreScores(const QString &nouvelle) const;
    bool echouer(const QString &faute);

    QString livre_;
    QString copie_;
    QString erreur_;
};
