#pragma once

#include "database/ControleDonnees.h"
#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

// A private copy of the built game database in a folder of its own, which stands for the
// program's folder in a test. A set-up that fails stops the test at once, saying why: a test
// must never go on against a file it did not get.
class BaseDeTest
{
public:
    BaseDeTest()
    {
        const QString livre = QStringLiteral(PAVORIA_DAT_CONSTRUIT);
        if (!dossier_.isValid())
            qFatal("BaseDeTest: no temporary folder: %s", qPrintable(dossier_.errorString()));
        if (!QFile::copy(livre, fichier()))
            qFatal("BaseDeTest: cannot copy %s to %s", qPrintable(livre), qPrintable(fichier()));
        if (!QFile::setPermissions(fichier(), QFile::ReadOwner | QFile::WriteOwner))
            qFatal("BaseDeTest: cannot make %s writable", qPrintable(fichier()));
    }

    // In the system's own form, as the game names its files to the player.
    QString dossier() const { return QDir::toNativeSeparators(dossier_.path()); }
    QString fichier() const
    {
        return QDir::toNativeSeparators(dossier_.filePath(QStringLiteral("Pavoria.dat")));
    }

    QList<ControleDonnees::LigneScore> scores() const
    {
        ControleDonnees base(QStringLiteral("BaseDeTest.scores"), ControleDonnees::Acces::Lecture);
        if (!base.ouvrirScores(fichier()))
            qFatal("%s", qPrintable(base.erreur()));
        const auto lignes = base.scoresDecroissants();
        if (!lignes)
            qFatal("%s", qPrintable(base.erreur()));
        return *lignes;
    }

    QByteArray contenu() const
    {
        QFile lecture(fichier());
        if (!lecture.open(QIODevice::ReadOnly))
            qFatal("BaseDeTest: cannot read %s", qPrintable(fichier()));
        return lecture.readAll();
    }

    // Gives the score rows these scores, in the table's own order of rows.
    void fixerScores(const QList<int> &valeurs) const
    {
        FichierJeu::travailler(fichier(), [&valeurs](QSqlQuery &requete) {
            FichierJeu::executer(
                requete,
                QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(Schema::tableScores));
            QList<qint64> lignes;
            while (requete.next())
                lignes << requete.value(0).toLongLong();
            if (valeurs.size() > lignes.size())
                qFatal("BaseDeTest: %d scores for %d rows", int(valeurs.size()),
                       int(lignes.size()));
            if (!requete.prepare(
                    QStringLiteral("UPDATE %1 SET %2 = ?, %3 = ? WHERE rowid = ?")
                        .arg(Schema::tableScores, Schema::champNom, Schema::champScore)))
                qFatal("BaseDeTest: %s", qPrintable(requete.lastError().text()));
            for (qsizetype i = 0; i < valeurs.size(); ++i) {
                requete.addBindValue(QStringLiteral("J%1").arg(i));
                requete.addBindValue(valeurs[i]);
                requete.addBindValue(lignes[i]);
                if (!requete.exec())
                    qFatal("BaseDeTest: %s", qPrintable(requete.lastError().text()));
            }
        });
    }

private:
    QTemporaryDir dossier_;
};
