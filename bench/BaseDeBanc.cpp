#include "bench/BaseDeBanc.h"

#include "database/Schema.h"
#include "tests/support/FichierJeu.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

QString fichierDuJeu()
{
    return QStringLiteral(PAVORIA_DAT_CONSTRUIT);
}

using FichierJeu::executer;

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
    FichierJeu::travailler(fichier(), [&](QSqlQuery &requete) {
        executer(requete, QStringLiteral("BEGIN"));
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
        executer(requete, QStringLiteral("COMMIT"));
        executer(requete, QStringLiteral("VACUUM"));
    });
    nombreDrapeaux_ = facteur * Schema::nombreDrapeaux;
}

void BaseDeBanc::remettreScores() const
{
    FichierJeu::travailler(fichier(), [](QSqlQuery &requete) {
        executer(requete, QStringLiteral("UPDATE %1 SET %2 = 4 * (rowid % 10 + 1)")
                              .arg(Schema::tableScores, Schema::champScore));
    });
}
