// For each file named, prints whether the platform layer finds it modifiable and whether
// changing it in place really works, "1 0" and the like, one line per file. The tests run it
// as another user, since the answer depends on who asks.
#include "core/PlateformeQt.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace {

// What the database engine needs to store a score: the file opened for writing (not
// truncated) and a new file beside it for its journal.
bool ecritureReussie(const QString &fichier)
{
    QFile base(fichier);
    if (!base.open(QIODevice::ReadWrite))
        return false;
    QTemporaryFile journal(QFileInfo(fichier).absolutePath() + QStringLiteral("/sonde.XXXXXX"));
    return journal.open();
}

} // namespace

int main(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const PlateformeQt plateforme;
    for (const QString &fichier : QCoreApplication::arguments().mid(1)) {
        std::printf("%d %d\n", plateforme.fichierModifiable(fichier) ? 1 : 0,
                    ecritureReussie(fichier) ? 1 : 0);
    }
    return 0;
}
