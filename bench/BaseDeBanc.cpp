#include "bench/BaseDeBanc.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

constexpr int drapeauxDuJeu = 178;

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
    nombreDrapeaux_ = drapeauxDuJeu;
    if (facteur > 1)
        multiplier(facteur);
}

void BaseDeBanc::multiplier(int facteur)
{
    travaillerSur(fichier(), [&](QSqlDatabase &base) {
        base.transaction();
        QSqlQuery requete(base);
        for (int copie = 1; copie < facteur; ++copie) {
            executer(requete, QStringLiteral("INSERT INTO Pavoria (NUMERO, PAYS, Pavorium) "
                                             "SELECT NUMERO + %1, PAYS || ' %2', Pavorium "
                                             "FROM Pavoria WHERE NUMERO <= %3")
                                  .arg(copie * drapeauxDuJeu)
                                  .arg(copie)
                                  .arg(drapeauxDuJeu));
        }
        base.commit();
        executer(requete, QStringLiteral("VACUUM"));
    });
    nombreDrapeaux_ = facteur * drapeauxDuJeu;
}

void BaseDeBanc::remettreScores() const
{
    travaillerSur(fichier(), [](QSqlDatabase &base) {
        QSqlQuery requete(base);
        executer(requete, QStringLiteral("UPDATE SCORES SET SCORE = 4 * (rowid % 10 + 1)"));
    });
}
