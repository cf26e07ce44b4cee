#include "database/Disque.h"

#include "database/FichierNeuf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
// Wide paths throughout: the ANSI code page cannot name every file.
LPCWSTR natif(const QString &chemin)
{
    return reinterpret_cast<LPCWSTR>(chemin.utf16());
}

// Flushes a file to the disk; GetLastError() tells why not.
bool synchroniserFichier(const QString &chemin)
{
    // FlushFileBuffers needs a handle open for writing.
    const HANDLE fichier = CreateFileW(natif(QDir::toNativeSeparators(chemin)), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (fichier == INVALID_HANDLE_VALUE)
        return false;
    const bool fait = FlushFileBuffers(fichier) != 0;
    CloseHandle(fichier);
    return fait;
}

// A folder cannot be flushed on Windows: MOVEFILE_WRITE_THROUGH returns once the new name is
// on the disk instead.
bool renommer(const QString &nouveau, const QString &ancien)
{
    return MoveFileExW(natif(QDir::toNativeSeparators(nouveau)),
                       natif(QDir::toNativeSeparators(ancien)),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
           != 0;
}

void synchroniserDossier(const QString &) {}

// In the system's language, as strerror gives it elsewhere.
QString fauteSysteme()
{
    const DWORD code = GetLastError();
    wchar_t *texte = nullptr;
    const DWORD longueur = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&texte), 0, nullptr);
    const QString faute = longueur ? QString::fromWCharArray(texte, longueur).trimmed()
                                   : QStringLiteral("erreur %1").arg(code);
    LocalFree(texte);
    return faute;
}
#else
// Flushes a file or a folder to the disk; errno tells why not.
bool synchroniser(const QString &chemin)
{
    const int descripteur = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC);
    if (descripteur < 0)
        return false;
    const bool fait = ::fsync(descripteur) == 0;
    ::close(descripteur);
    return fait;
}

bool synchroniserFichier(const QString &chemin)
{
    return synchroniser(chemin);
}

// rename(2) replaces the target in one step, where QFile::rename refuses to.
bool renommer(const QString &nouveau, const QString &ancien)
{
    return std::rename(QFile::encodeName(nouveau).constData(),
                       QFile::encodeName(ancien).constData())
           == 0;
}

// The new name is on the disk once its folder is.
void synchroniserDossier(const QString &dossier)
{
    synchroniser(dossier);
}

QString fauteSysteme()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
#endif

} // namespace

QString Disque::remplacer(const QString &nouveau, const QString &ancien)
{
    if (!synchroniserFichier(nouveau))
        return QStringLiteral("écriture sur le disque impossible (%1)").arg(fauteSysteme());
    if (!renommer(nouveau, ancien))
        return QStringLiteral("remplacement impossible (%1)").arg(fauteSysteme());
    synchroniserDossier(QFileInfo(ancien).absolutePath());
    return {};
}

bool Disque::recopier(const QString &source, const QString &cible)
{
    QFile lecture(source);
    QFile ecriture(cible);
    if (!lecture.open(QIODevice::ReadOnly) || !ecriture.open(QIODevice::WriteOnly))
        return false;
    while (!lecture.atEnd()) {
        const QByteArray bloc = lecture.read(1 << 16);
        if (bloc.isEmpty() || ecriture.write(bloc) != bloc.size())
            return false;
    }
    return ecriture.flush();
}

QString Disque::copier(const QString &source, const QString &cible)
{
    FichierNeuf copie(cible + QStringLiteral(".copie-XXXXXX"));
    if (copie.nom().isEmpty())
        return copie.erreur();
    if (!recopier(source, copie.nom()))
        return QStringLiteral("copie de « %1 » impossible").arg(source);
    return copie.mettreEnPlace(cible);
}
