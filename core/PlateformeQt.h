#pragma once

#include "core/Plateforme.h"

#include <QLockFile>

#include <memory>

class PlateformeQt final : public Plateforme
{
public:
    void traiterEvenements() override;
    void terminer(int statut) override;

    bool autreCopieEnCours() override;
    QString dossierProgramme() const override;
    QString nomProgramme() const override;
    QDateTime horodatageProgramme() const override;
    QDateTime maintenant() const override;
    bool fichierModifiable(const QString &fichier) const override;
    QString dossierDonnees() const override;

    static QString cheminVerrou();

private:
    std::unique_ptr<QLockFile> verrou_;
};
