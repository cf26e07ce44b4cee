#pragma once

#include "core/Plateforme.h"

#include <QLockFile>

#include <memory>

class PlateformeQt final : public Plateforme
{
public:
    // What the program was built as: the build tree's or a portable copy's, which plays on its
    // files where the player may write them, or the one to install, which never writes them.
    // Said by the build, not guessed from where the files lie: installed files may lie beside
    // the program too.
    enum class Programme { Portable, Installe };

    // fichiers: the folder of the game's files relative to the program's folder, fixed when the
    // program is built; empty for the program's own folder.
    explicit PlateformeQt(Programme programme = Programme::Portable, QString fichiers = {});

    void traiterEvenements() override;
    bool patienter(std::chrono::milliseconds duree) override;
    void terminer(int statut) override;

    bool autreCopieEnCours() override;
    QString dossierFichiers() const override;
    bool estInstalle() const override;
    QString nomProgramme() const override;
    QDateTime horodatageProgramme() const override;
    QDateTime maintenant() const override;
    bool fichierModifiable(const QString &fichier) const override;
    QString dossierDonnees() const override;

    static QString cheminVerrou();

private:
    Programme programme_;
    QString fichiers_;
    std::unique_ptr<QLockFile> verrou_;
};
