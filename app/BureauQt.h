#pragma once

#include "widgets/Bureau.h"

#include <memory>

class FenetreAide;
class Plateforme;

class BureauQt final : public Bureau
{
public:
    // Bare document names are looked up in the program's folder, which the platform tells.
    explicit BureauQt(const Plateforme &plateforme);
    ~BureauQt() override;

    void afficherMessage(const QString &titre, const QString &texte) override;
    int executerFenetre(QDialog &fenetre) override;
    void ouvrirDocument(const QString &texte) override;
    void afficherAide(const QString &fichier) override;

private:
    void rattacherAide();

    const Plateforme &plateforme_;
    std::unique_ptr<FenetreAide> aide_;
};
