#include "bench/BaseDeBanc.h"

#include "database/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

QString fichierDuJeu()
{
    return QStringLiteral(PAVORIA_DAT_CONSTRUIT);
}

// Runs statements on the file through a connection of its own, gone before this returns.
template <typename Travail>
void travaillerSur(const QString &fichier, Travail &&travail)
{
    const QString nom = QUuid::createUuid().toString();
    {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nom);
        base.setDatabaseName(fichier);
        if (!base.open())
            qFatal("%s: %s", qPrintable(fichier), qPrintable(base.lastError().text()));
        travail(base);
        base.close();
    }
    QSqlDatabase::removeDatabase(nom);
}

void executer(QSqlQuery &requete, const QString &texte)
{
    if (!requete.exec(texte))
        qFatal("%s: %s", qPrintable(texte), qPrintable(requete.lastError().text()));
}

} // namespace

BaseDeBanc::BaseDeBanc(int facteur)
    : dossier_(QFileInfo(fichierDuJeu()).absolutePath() + QStringLiteral("/banc-XXXXXX"))
{
    if (!dossier_.isValid() || !QFile::copy(fichierDuJeu(), fichier()))
        qFatal("cannot copy %s", qPrintable(fichierDuJeu()));
    QFile::setPermissions(fichier(), QFile::ReadOwner | QFile::WriteOwner);
    nombreDrapeaux_ = Schema::nombreDrapeaux;
    if (facteur > 1)
        multiplier(facteur);
}

void BaseDeBanc::multiplier(int facteur)
{
    travaillerSur(fichier(), [&](QSqlDatabase &base) {
        base.transaction();
        QSqlQuery requete(base);
        for (int copie = 1; copie < facteur; ++copie) {
            executer(requete, QStringLiteral("INSERT INTO %1 (%2, %3, %4) "
                                             "SELECT %2 + %5, %3 || ' %6', %4 "
                                             "FROM %1 WHERE %2 <= %7")
                                  .arg(Schema::tableDrapeaux, Schema::champNumero,
                                       Schema::champPays, Schema::champDessin)
                                  .arg(copie * Schema::nombreDrapeaux)
                                  .arg(copie)
                                  .arg(Schema::nombreDrapeaux));
        }
        base.commit();
        executer(requete, QStringLiteral("VACUUM"));
    });
    nombreDrapeaux_ = facteur * Schema::nombreDrapeaux;
}

void BaseDeBanc::remettreScores() const
{
    travaillerSur(fichier(), [](QSqlDatabase &base) {
        QSqlQuery requete(base);
        executer(requete, QStringLiteral("UPDATE %1 SET %2 = 4 * (rowid % 10 + 1)")
                              .arg(Schema::tableScores, Schema::champScore));
    });
}
