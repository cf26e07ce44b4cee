#pragma once

#include "app/Plateforme.h"

#include <QLockFile>
#include <memory>

class FenetreAide;

class PlateformeQt final : public Plateforme
{
public:
    PlateformeQt();
    ~PlateformeQt() override;

    void afficherMessage(const QString &titre, const QString &texte) override;
    int executerFenetre(QDialog &fenetre) override;
    void ouvrirDocument(const QString &texte) override;
    void afficherAide(const QString &fichier) override;
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
    std::unique_ptr<FenetreAide> aide_;
};
