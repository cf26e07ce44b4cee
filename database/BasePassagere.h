#pragma once

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <utility>

// A connection to a database file for one piece of work, beside the game's own connections
// (ControleDonnees): the one way the builder, the update of a player's copy, the tests and the
// benchmarks open a file for a job.
namespace BasePassagere {

// The file as SQLite's URI with an open mode: "ro", "rw" (never creates the file) or "rwc".
inline QString adresse(const QString &fichier, const QString &mode)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(fichier).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=") + mode);
    return url.toString(QUrl::FullyEncoded);
}

// Opens the file in that mode on a connection of its own and runs the work, which returns an
// error text, empty on success. Qt keeps a connection by name until removeDatabase(), which must
// come once no QSqlDatabase or QSqlQuery of it is left: running the work in a callee guarantees
// that.
template <typename Travail>
QString travailler(const QString &fichier, const QString &mode, Travail &&travail)
{
    const QString connexion =
        QStringLiteral("BasePassagere-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString panne = [&] {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connexion);
        base.setDatabaseName(adresse(fichier, mode));
        base.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        if (!base.open())
            return base.lastError().text();
        const QString texte = std::forward<Travail>(travail)(base);
        base.close();
        return texte;
    }();
    QSqlDatabase::removeDatabase(connexion);
    return panne;
}

} // namespace BasePassagere
