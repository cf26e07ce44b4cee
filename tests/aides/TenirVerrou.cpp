// Another program that holds a lock on the game's file until its standard input closes:
// "exclusif" keeps everyone out, "lecture" keeps a read open, which stops a commit,
// "ecriture" keeps a write pending, which stops any other write. Prints "pris" once held.
#include "database/BasePassagere.h"
#include "database/Schema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <iostream>
#include <limits>

int main(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return 2;
    const QString mode = arguments[2];
    const QString debut = mode == u"exclusif"   ? QStringLiteral("BEGIN EXCLUSIVE")
                          : mode == u"ecriture" ? QStringLiteral("BEGIN IMMEDIATE")
                                                : QStringLiteral("BEGIN");
    const QString panne =
        BasePassagere::travailler(arguments[1], QStringLiteral("rw"), [&debut](QSqlDatabase &base) {
            QSqlQuery requete(base);
            if (!requete.exec(debut) || !requete.exec(Schema::nombreLignesScores)
                || !requete.next())
                return requete.lastError().text();
            requete.finish();
            std::puts("pris");
            std::fflush(stdout);
            std::cin.ignore(std::numeric_limits<std::streamsize>::max());
            requete.exec(QStringLiteral("ROLLBACK"));
            return QString();
        });
    if (!panne.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(panne));
        return 1;
    }
    return 0;
}
