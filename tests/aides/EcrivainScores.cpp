// Writes scores into the game's file as the score dialog does, one write after another from
// the given number on, until it is killed. Prints "prêt" once started, then each number
// once its write is committed.
#include "tests/aides/LigneEcrite.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    ControleDonnees base(QStringLiteral("EcrivainScores"), ControleDonnees::Acces::Ecriture);
    std::puts("prêt");
    std::fflush(stdout);
    for (int n = arguments[2].toInt();; ++n) {
        const ControleDonnees::LigneScore ligne = ligneEcrite(n);
        if (!base.ouvrirScores(arguments[1])
            || !base.remplacerPlusPetitScore(ligne.NOM, ligne.SCORE, ligne.DATE)) {
            std::fprintf(stderr, "%s\n", qPrintable(base.erreur()));
            return 1;
        }
        base.fermer();
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}
