#pragma once

#include "database/BasePassagere.h"
#include "database/Schema.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

#include <functional>

// A game database file as the tests read and change it, past the game's own connection: the
// fingerprint of its flag table, its score rows as stored, its version. A file that cannot be
// opened, or a statement that fails, stops the test at once, saying why.
namespace FichierJeu {

inline void executer(QSqlQuery &requete, const QString &sql)
{
    if (!requete.exec(sql))
        qFatal("FichierJeu: %s: %s", qPrintable(sql), qPrintable(requete.lastError().text()));
}

// Runs the work on the game's passing connection, opened in that mode (BasePassagere::adresse):
// by default creating the file if it is missing.
inline void travailler(const QString &fichier, const std::function<void(QSqlQuery &)> &travail,
                       const QString &mode = QStringLiteral("rwc"))
{
    const QString panne = BasePassagere::travailler(fichier, mode, [&travail](QSqlDatabase &base) {
        QSqlQuery requete(base);
        travail(requete);
        return QString();
    });
    if (!panne.isEmpty())
        qFatal("FichierJeu: %s: %s", qPrintable(fichier), qPrintable(panne));
}

// Runs the statements in turn on a connection of its own; the rows of the last one.
inline QList<QVariantList> executerSql(const QString &fichier, const QStringList &instructions,
                                       const QString &mode = QStringLiteral("rwc"))
{
    QList<QVariantList> lignes;
    travailler(
        fichier,
        [&](QSqlQuery &requete) {
            for (const QString &instruction : instructions)
                executer(requete, instruction);
            while (requete.next()) {
                QVariantList ligne;
                for (int i = 0; i < requete.record().count(); ++i)
                    ligne.append(requete.value(i));
                lignes.append(ligne);
            }
        },
        mode);
    return lignes;
}

// SHA-256 of every flag's number, name and picture as stored, in the order of the numbers, in
// hexadecimal: two files show the same flags exactly when their fingerprints are equal.
inline QByteArray empreinteDrapeaux(const QString &fichier)
{
    QCryptographicHash empreinte(QCryptographicHash::Sha256);
    travailler(fichier, [&empreinte](QSqlQuery &requete) {
        executer(requete, QStringLiteral("SELECT %1, %2, %3 FROM %4 ORDER BY %1")
                              .arg(Schema::champNumero, Schema::champPays, Schema::champDessin,
                                   Schema::tableDrapeaux));
        while (requete.next()) {
            const QByteArray dessin = requete.value(2).toByteArray();
            // Each field with its length, so that no two tables run together the same way.
            for (const QByteArray &champ : {requete.value(0).toString().toUtf8(),
                                            requete.value(1).toString().toUtf8(), dessin}) {
                empreinte.addData(QByteArray::number(champ.size()) + ':');
                empreinte.addData(champ);
            }
        }
    });
    return empreinte.result().toHex();
}

// The score rows in the order they are stored, "NOM|SCORE|DATE", values as stored.
inline QStringList lignesScores(const QString &fichier)
{
    QStringList lignes;
    travailler(fichier, [&lignes](QSqlQuery &requete) {
        executer(requete, Schema::scoresStockes);
        while (requete.next()) {
            lignes << QStringLiteral("%1|%2|%3")
                          .arg(requete.value(0).toString(), requete.value(1).toString(),
                               requete.value(2).toString());
        }
    });
    return lignes;
}

inline int version(const QString &fichier)
{
    int lue = -1;
    travailler(fichier, [&lue](QSqlQuery &requete) {
        executer(requete, Schema::lectureVersion);
        if (requete.next())
            lue = requete.value(0).toInt();
    });
    return lue;
}

inline void fixerVersion(const QString &fichier, int version)
{
    travailler(fichier, [version](QSqlQuery &requete) {
        executer(requete, QStringLiteral("PRAGMA user_version = %1").arg(version));
    });
}

// Runs these statements in one transaction, each with its bound values.
inline void modifier(const QString &fichier, const QList<std::pair<QString, QVariantList>> &ordres)
{
    travailler(fichier, [&ordres](QSqlQuery &requete) {
        executer(requete, QStringLiteral("BEGIN"));
        for (const auto &[sql, valeurs] : ordres) {
            if (!requete.prepare(sql))
                qFatal("FichierJeu: %s: %s", qPrintable(sql),
                       qPrintable(requete.lastError().text()));
            for (const QVariant &valeur : valeurs)
                requete.addBindValue(valeur);
            if (!requete.exec())
                qFatal("FichierJeu: %s: %s", qPrintable(sql),
                       qPrintable(requete.lastError().text()));
        }
        executer(requete, QStringLiteral("COMMIT"));
    });
}

// The file as an earlier version of the game shipped it: this version, flag 1 with another
// flag's picture and the last flag under another name.
inline void vieillir(const QString &fichier, int version)
{
    modifier(fichier,
             {{QStringLiteral("UPDATE Pavoria SET Pavorium = "
                              "(SELECT Pavorium FROM Pavoria WHERE NUMERO = 2) WHERE NUMERO = 1"),
               {}},
              {QStringLiteral("UPDATE Pavoria SET PAYS = ? WHERE NUMERO = ?"),
               {QStringLiteral("Nom d’autrefois"), Schema::nombreDrapeaux}}});
    fixerVersion(fichier, version);
}

} // namespace FichierJeu
