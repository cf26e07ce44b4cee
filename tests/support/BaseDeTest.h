#pragma once

#include "database/ControleDonnees.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

// A private copy of the built game database in a folder of its own, which stands for the
// program's folder in a test.
class BaseDeTest
{
public:
    BaseDeTest()
    {
        QFile::copy(QStringLiteral(PAVORIA_DAT_CONSTRUIT), fichier());
        QFile::setPermissions(fichier(), QFile::ReadOwner | QFile::WriteOwner);
    }

    QString dossier() const { return dossier_.path(); }
    QString fichier() const { return dossier_.filePath(QStringLiteral("Pavoria.dat")); }

    QList<ControleDonnees::LigneScore> scores() const
    {
        ControleDonnees base(QStringLiteral("BaseDeTest.scores"), ControleDonnees::Acces::Lecture);
        if (!base.ouvrirScores(fichier()))
            qFatal("%s", qPrintable(base.erreur()));
        return base.scoresDecroissants().value();
    }

    QByteArray contenu() const
    {
        QFile lecture(fichier());
        lecture.open(QIODevice::ReadOnly);
        return lecture.readAll();
    }

    // Gives the score rows these scores, in the table's own order of rows.
    void fixerScores(const QList<int> &valeurs) const
    {
        {
            QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                          QStringLiteral("BaseDeTest.fixer"));
            base.setDatabaseName(fichier());
            base.open();
            QSqlQuery requete(base);
            requete.exec(QStringLiteral("SELECT rowid FROM SCORES ORDER BY rowid"));
            QList<qint64> lignes;
            while (requete.next())
                lignes << requete.value(0).toLongLong();
            for (qsizetype i = 0; i < valeurs.size() && i < lignes.size(); ++i) {
                requete.prepare(
                    QStringLiteral("UPDATE SCORES SET NOM = ?, SCORE = ? WHERE rowid = ?"));
                requete.addBindValue(QStringLiteral("J%1").arg(i));
                requete.addBindValue(valeurs[i]);
                requete.addBindValue(lignes[i]);
                requete.exec();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("BaseDeTest.fixer"));
    }

private:
    QTemporaryDir dossier_;
};
