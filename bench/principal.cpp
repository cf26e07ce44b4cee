// Runs the benchmarks in a headless Qt application whose one screen is the size of the
// start-up benchmark's virtual screen, so that the main window is laid out as it is there.

#include "widgets/Apparence.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char *argv[])
{
    QTemporaryDir dossier;
    const QString configuration = dossier.filePath(QStringLiteral("ecran.json"));
    QFile fichier(configuration);
    if (!fichier.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(configuration));
    fichier.write(R"({"screens": [{"name": "banc", "x": 0, "y": 0, "width": 1600,
                      "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    fichier.close();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + configuration.toLocal8Bit());

    QApplication application(argc, argv);
    // The game's set-up, so that the windows are laid out as the game lays them out.
    Apparence::appliquer();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
