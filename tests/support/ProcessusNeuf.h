#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// For a check that only a process where nothing ran before can make: Qt never unloads a plugin,
// so once anything in a test program has loaded the SQLite driver, it stays loaded.
namespace ProcessusNeuf {

inline constexpr char marque[] = "PAVORIA_PROCESSUS_NEUF";

// Whether this is the fresh process that relancer() started.
inline bool estNeuf()
{
    return qEnvironmentVariableIsSet(marque);
}

// Runs the current test function again, alone, in a fresh process of this test program; whether
// it passed there. What it printed is shown when it did not.
inline bool relancer()
{
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(QString::fromLatin1(marque), QStringLiteral("1"));
    QProcess neuf;
    neuf.setProcessEnvironment(environnement);
    neuf.setProcessChannelMode(QProcess::MergedChannels);
    neuf.start(QCoreApplication::applicationFilePath(),
               {QString::fromLatin1(QTest::currentTestFunction())});
    const bool fini = neuf.waitForFinished(120000);
    if (fini && neuf.exitStatus() == QProcess::NormalExit && neuf.exitCode() == 0)
        return true;
    qWarning("ProcessusNeuf: the fresh process %s:\n%s",
             fini ? "failed" : "did not end within two minutes", neuf.readAll().constData());
    return false;
}

// Whether Qt's SQL driver plugins have been loaded into this process, as its mappings show
// (on Windows, its modules).
#ifdef Q_OS_WIN
inline bool piloteSqlCharge()
{
    if (!GetModuleHandleW(L"Qt6Core.dll"))
        qFatal("ProcessusNeuf: Qt6Core.dll is not among the modules");
    return GetModuleHandleW(L"qsqlite.dll") != nullptr;
}
#else
inline bool piloteSqlCharge()
{
    QFile cartes(QStringLiteral("/proc/self/maps"));
    if (!cartes.open(QIODevice::ReadOnly))
        qFatal("ProcessusNeuf: cannot read /proc/self/maps");
    const QByteArray texte = cartes.readAll();
    // Mappings that do not even show Qt itself could not show a plugin either.
    if (!texte.contains("libQt6Core"))
        qFatal("ProcessusNeuf: /proc/self/maps lists no Qt library");
    return texte.contains("/sqldrivers/");
}
#endif

} // namespace ProcessusNeuf
