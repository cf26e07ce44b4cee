#include "database/Disque.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Flushes a file or a folder to the disk; errno tells why not. POSIX: a port to Windows would
// use FlushFileBuffers, and MoveFileEx for the rename.
bool synchroniser(const QString &chemin)
{
    const int descripteur = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC);
    if (descripteur < 0)
        return false;
    const bool fait = ::fsync(descripteur) == 0;
    ::close(descripteur);
    return fait;
}

QString fauteSysteme()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString Disque::remplacer(const QString &nouveau, const QString &ancien)
{
    if (!synchroniser(nouveau))
        return QStringLiteral("écriture sur le disque impossible (%1)").arg(fauteSysteme());
    // rename(2) replaces the target in one step, where QFile::rename refuses to.
    if (std::rename(QFile::encodeName(nouveau).constData(), QFile::encodeName(ancien).constData())
        != 0)
        return QStringLiteral("remplacement impossible (%1)").arg(fauteSysteme());
    synchroniser(QFileInfo(ancien).absolutePath());
    return {};
}
