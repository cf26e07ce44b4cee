#include "core/PlateformeQt.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <utility>

PlateformeQt::PlateformeQt(Programme programme, QString fichiers)
    : programme_(programme)
    , fichiers_(std::move(fichiers))
{
}

void PlateformeQt::traiterEvenements()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool PlateformeQt::patienter(std::chrono::milliseconds duree)
{
    // QCoreApplication::exit() leaves every running loop, this one included, and makes any
    // loop started after it return at once: only the timer tells a wait that went its length.
    // A coarse timer may fire up to 5 % early (30 ms of the verdict's 0.6 s): a precise one
    // keeps to the millisecond.
    QEventLoop boucle;
    bool ecoulee = false;
    QTimer::singleShot(duree, Qt::PreciseTimer, &boucle, [&] {
        ecoulee = true;
        boucle.quit();
    });
    boucle.exec();
    return ecoulee;
}

void PlateformeQt::terminer(int statut)
{
    // The windows go with the objects that own them once the event loops have returned.
    QCoreApplication::exit(statut);
}

bool PlateformeQt::autreCopieEnCours()
{
    const QString chemin = cheminVerrou();
    QDir().mkpath(QFileInfo(chemin).absolutePath());
    verrou_ = std::make_unique<QLockFile>(chemin);
    // A lock left by a copy that crashed names a dead process; QLockFile removes it.
    verrou_->setStaleLockTime(0);
    // Only a lock that another live copy holds refuses the start: a folder the lock cannot be
    // written in proves nothing, and the game plays rather than claim a copy that is not there.
    return !verrou_->tryLock(0) && verrou_->error() == QLockFile::LockFailedError;
}

QString PlateformeQt::cheminVerrou()
{
    // The session's runtime folder; without one (a bare terminal, a cron job), a folder of the
    // player's own, where Qt would warn on the terminal and make one in the temporary folder.
    // Windows has none, whatever the environment Wine hands on says: the account's cache
    // folder, AppData\Local\cache, so one copy a Windows account.
#ifdef Q_OS_WIN
    const bool sansSession = true;
#else
    const bool sansSession = qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR");
#endif
    const QString dossier =
        sansSession
            ? QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
                  .filePath(QStringLiteral("pavoria"))
            : QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(dossier.isEmpty() ? QDir::tempPath() : dossier)
        .filePath(QStringLiteral("Pavoria.lock"));
}

QString PlateformeQt::dossierFichiers() const
{
    // Relative to where the program lies, not to where it was started from, so that a tree
    // moved whole, or staged under DESTDIR, finds its files.
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(fichiers_));
}

bool PlateformeQt::estInstalle() const
{
    return programme_ == Programme::Installe;
}

QString PlateformeQt::nomProgramme() const
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QDateTime PlateformeQt::horodatageProgramme() const
{
    return QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
}

QDateTime PlateformeQt::maintenant() const
{
    return QDateTime::currentDateTime();
}

#ifdef Q_OS_WIN
#if QT_VERSION < QT_VERSION_CHECK(6, 6, 0)
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#endif

bool PlateformeQt::fichierModifiable(const QString &fichier) const
{
    // Without it QFileInfo reads the read-only attribute alone: a copy under Program Files
    // would look writable to a player whom the folder's access list forbids to write.
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    const QNtfsPermissionCheckGuard listesAcces;
#else
    ++qt_ntfs_permission_lookup;
#endif
    const QFileInfo info(fichier);
    const bool modifiable = info.isWritable() && QFileInfo(info.absolutePath()).isWritable();
#if QT_VERSION < QT_VERSION_CHECK(6, 6, 0)
    --qt_ntfs_permission_lookup;
#endif
    return modifiable;
}
#else
bool PlateformeQt::fichierModifiable(const QString &fichier) const
{
    // QFileInfo asks the kernel (access(2)) rather than reading the permission bits, so the
    // answer is the one writing would get: root may write anything, a read-only mount refuses.
    const QFileInfo info(fichier);
    const QFileInfo dossier(info.absolutePath());
    return info.isWritable() && dossier.isWritable() && dossier.isExecutable();
}
#endif

QString PlateformeQt::dossierDonnees() const
{
    // The XDG data home, ~/.local/share unless XDG_DATA_HOME says otherwise; on Windows the
    // account's own AppData\Local.
    const QString donnees = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return donnees.isEmpty() ? QString() : QDir(donnees).filePath(QStringLiteral("pavoria"));
}
