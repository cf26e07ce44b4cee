#include "data/ConstructeurBase.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Qt SQL loads its SQLite driver as a plugin, which needs an application object.
    const QCoreApplication application(argc, argv);

    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral("Construit la base de jeu Pavoria.dat."));
    analyseur.addHelpOption();
    const QCommandLineOption pays(QStringLiteral("pays"),
                                  QStringLiteral("Liste des pays, lignes NUMERO;ISO;PAYS."),
                                  QStringLiteral("fichier"));
    const QCommandLineOption drapeaux(
        QStringLiteral("drapeaux"),
        QStringLiteral("Dossier des drapeaux PNG, nommés par code ISO."),
        QStringLiteral("dossier"));
    const QCommandLineOption sortie(QStringLiteral("sortie"),
                                    QStringLiteral("Base à écrire ; ses scores sont gardés."),
                                    QStringLiteral("fichier"));
    analyseur.addOptions({pays, drapeaux, sortie});
    analyseur.process(application);
    if (!analyseur.isSet(pays) || !analyseur.isSet(drapeaux) || !analyseur.isSet(sortie)
        || !analyseur.positionalArguments().isEmpty()) {
        std::fputs(qUtf8Printable(analyseur.helpText()), stderr);
        return 2;
    }

    ConstructeurBase constructeur(analyseur.value(pays), analyseur.value(drapeaux),
                                  analyseur.value(sortie));
    if (!constructeur.construire()) {
        std::fprintf(stderr, "ConstruireBase: %s\n", qUtf8Printable(constructeur.erreur()));
        return 1;
    }
    return 0;
}
