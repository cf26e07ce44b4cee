#pragma once

#include <QString>
#include <QTemporaryDir>

// A private copy of the built game database, in a folder of its own beside the build's, so that
// writes reach the same disk as the game's. With a factor above 1 the flag table holds that many
// times the game's rows: the same pictures under new numbers and names.
class BaseDeBanc
{
public:
    explicit BaseDeBanc(int facteur = 1);

    QString dossier() const { return dossier_.path(); }
    QString fichier() const { return dossier_.filePath(QStringLiteral("Pavoria.dat")); }
    int nombreDrapeaux() const { return nombreDrapeaux_; }

    // Gives the scores low values again (4 to 40, as at first), so that every score written
    // enters the table.
    void remettreScores() const;

private:
    void multiplier(int facteur);

    QTemporaryDir dossier_;
    int nombreDrapeaux_ = 0;
};
