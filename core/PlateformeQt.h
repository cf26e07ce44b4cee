#pragma once

#include "core/Plateforme.h"

#include <QLockFile>

#include <memory>

class PlateformeQt final : public Plateforme
{
public:
    // fichiers: the folder of the game's files relative to the program's folder, fixed when the
    // program is built; empty for the program's own folder, where nothing marks an install.
    explicit PlateformeQt(QString fichiers = {});

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
    QString fichiers_;
    std::unique_ptr<QLockFile> verrou_;
};
