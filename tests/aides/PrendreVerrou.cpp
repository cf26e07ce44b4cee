// One copy of the game as far as the single-copy rule goes: waits for the start signal (the
// given file appears), asks PlateformeQt whether another copy runs, and prints "pris" or
// "libre". A copy that got the lock keeps it until its standard input closes.
#include "core/PlateformeQt.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <limits>

int main(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return 2;
    std::puts("prêt");
    std::fflush(stdout);
    // A test that stopped before giving the signal leaves no copy behind for long.
    QDeadlineTimer delai(60000);
    while (!QFile::exists(arguments[1])) {
        if (delai.hasExpired())
            return 3;
        QThread::msleep(1);
    }

    PlateformeQt plateforme;
    const bool autre = plateforme.autreCopieEnCours();
    std::puts(autre ? "pris" : "libre");
    std::fflush(stdout);
    if (!autre)
        std::cin.ignore(std::numeric_limits<std::streamsize>::max());
    return 0;
}
