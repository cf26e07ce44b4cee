#pragma once

#include "core/Plateforme.h"
#include "widgets/Bureau.h"

#include <QStringList>

#include <functional>

// Records what the program asks of the system and the desktop, both seams in one, and answers
// from a script, so that no test blocks on a modal window, leaves the process or waits on the
// clock.
class PlateformeFactice final
    : public Plateforme
    , public Bureau
{
public:
    struct Message
    {
        QString titre;
        QString texte;
    };

    void afficherMessage(const QString &titre, const QString &texte) override;
    int executerFenetre(QDialog &fenetre) override;
    void ouvrirDocument(const QString &texte) override;
    void afficherAide(const QString &fichier) override;
    void traiterEvenements() override;
    // A yield as traiterEvenements() is, that moves the clock on by its length.
    bool patienter(std::chrono::milliseconds duree) override;
    void terminer(int statut) override;

    bool autreCopieEnCours() override { return autreCopie; }
    QString dossierFichiers() const override { return dossier; }
    bool estInstalle() const override { return installe; }
    QString nomProgramme() const override { return nom; }
    QDateTime horodatageProgramme() const override { return horodatage; }
    QDateTime maintenant() const override { return horloge; }
    bool fichierModifiable(const QString &fichier) const override
    {
        return !fichiersProteges.contains(fichier);
    }
    QString dossierDonnees() const override { return donnees; }

    // The script: what happens while a message or a modal window is shown.
    std::function<void(const Message &)> pendantMessage;
    std::function<int(QDialog &)> pendantFenetre;
    std::function<void()> pendantTraitement;

    bool autreCopie = false;
    // The folder of the game's files; a portable copy unless installe says otherwise.
    QString dossier = QStringLiteral("/opt/pavoria");
    bool installe = false;
    QString nom = QStringLiteral("Pavoria");
    QDateTime horodatage{QDate(2000, 4, 16), QTime(13, 48, 27)};
    QDateTime horloge{QDate(2026, 12, 9), QTime(10, 0)};
    // Files the player cannot write, as in a system install, whoever runs the test.
    QStringList fichiersProteges;
    // Empty by default, so that no test writes in the real data folder.
    QString donnees;

    QList<Message> messages;
    QStringList fenetres; // object names of the windows shown
    QStringList documents;
    QStringList aides;
    QList<int> fins;
    int traitements = 0;
    QList<std::chrono::milliseconds> attentes;
};
