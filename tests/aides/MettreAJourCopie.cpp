// Brings a player's copy up to the shipped file's flags, as start-up does, once. Prints "prêt"
// once started, then "fait" once the copy is replaced; a failure goes to standard error.
// Usage: MettreAJourCopie SHIPPED COPY
#include "database/MiseAJourCopie.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    MiseAJourCopie miseAJour(arguments[1], arguments[2]);
    std::puts("prêt");
    std::fflush(stdout);
    if (!miseAJour.executer()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(miseAJour.erreur()));
        return 1;
    }
    std::puts("fait");
    return 0;
}
