#include "scores/ControleDonnees.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// SQLite's primary result codes, as the driver reports them.
QString fauteSqlite(const QSqlError &erreur)
{
    const QString code = erreur.nativeErrorCode();
    if (code == u"5" || code == u"6")
        return QStringLiteral("est occupé par un autre programme");
    if (code == u"8")
        return QStringLiteral("est en lecture seule");
    if (code == u"13")
        return QStringLiteral("ne peut pas être écrit : le disque est plein");
    if (code == u"11" || code == u"26")
        return QStringLiteral("est endommagé");
    if (code == u"14")
        return QStringLiteral("ne peut pas être ouvert");
    return QStringLiteral("a provoqué une erreur de la base de données (%1)")
        .arg(erreur.text().trimmed());
}

} // namespace

ControleDonnees::ControleDonnees(const QString &nomConnexion, Acces acces)
    : nomConnexion_(nomConnexion)
    , acces_(acces)
{
}

ControleDonnees::~ControleDonnees()
{
    fermer();
    if (QSqlDatabase::contains(nomConnexion_))
        QSqlDatabase::removeDatabase(nomConnexion_);
}

QSqlDatabase ControleDonnees::base() const
{
    // Registering the connection loads the SQLite driver: that waits for the first opening,
    // so that start-up, which opens nothing, does not pay for it.
    if (!QSqlDatabase::contains(nomConnexion_))
        return QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nomConnexion_);
    return QSqlDatabase::database(nomConnexion_, false);
}

bool ControleDonnees::ouvrirDrapeaux(const QString &fichier)
{
    return ouvrir(fichier, QStringLiteral("Pavoria"),
                  {QStringLiteral("NUMERO"), QStringLiteral("PAYS"), QStringLiteral("Pavorium")});
}

bool ControleDonnees::ouvrirScores(const QString &fichier)
{
    return ouvrir(fichier, QStringLiteral("SCORES"),
                  {QStringLiteral("NOM"), QStringLiteral("SCORE"), QStringLiteral("DATE")});
}

bool ControleDonnees::ouvrir(const QString &fichier, const QString &table,
                             const QStringList &champs)
{
    fermer();
    fichier_ = fichier;
    erreur_.clear();
    // SQLite would create a missing file; the game must never stand in an empty one.
    if (!QFileInfo(fichier).isFile())
        return echouer(QStringLiteral("est introuvable"));

    QSqlDatabase connexion = base();
    connexion.setDatabaseName(fichier);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000");
    if (acces_ == Acces::Lecture)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    connexion.setConnectOptions(options);
    if (!connexion.open())
        return echouerBase(connexion.lastError());
    if (acces_ == Acces::Ecriture) {
        // A score written is on disk before the player is told so; the rollback journal
        // keeps the table whole if the program or the machine stops in the middle.
        QSqlQuery(QStringLiteral("PRAGMA synchronous = FULL"), connexion);
    }
    if (!verifierTable(table, champs)) {
        connexion.close();
        return false;
    }
    return true;
}

bool ControleDonnees::verifierTable(const QString &table, const QStringList &champs)
{
    QSqlQuery requete(base());
    // A file that is not a database fails here already, at the first statement it reads.
    if (!requete.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)")))
        return echouerBase(requete.lastError());
    requete.addBindValue(table);
    if (!requete.exec())
        return echouerBase(requete.lastError());
    QStringList presents;
    while (requete.next())
        presents << requete.value(0).toString();
    if (presents.isEmpty())
        return echouer(QStringLiteral("ne contient pas la table %1").arg(table));
    for (const QString &champ : champs) {
        if (!presents.contains(champ, Qt::CaseInsensitive))
            return echouer(
                QStringLiteral("ne contient pas le champ %1 de la table %2").arg(champ, table));
    }
    return true;
}

void ControleDonnees::fermer()
{
    if (estOuvert())
        base().close();
}

bool ControleDonnees::estOuvert() const
{
    return QSqlDatabase::contains(nomConnexion_) && base().isOpen();
}

std::optional<QString> ControleDonnees::paysDuNumero(int numero)
{
    QSqlQuery requete(base());
    requete.prepare(QStringLiteral("SELECT PAYS FROM Pavoria WHERE NUMERO = ?"));
    requete.addBindValue(numero);
    if (!requete.exec()) {
        echouerBase(requete.lastError());
        return std::nullopt;
    }
    if (!requete.next()) {
        echouer(QStringLiteral("ne contient pas le drapeau n° %1").arg(numero));
        return std::nullopt;
    }
    return requete.value(0).toString();
}

std::optional<QByteArray> ControleDonnees::dessinDuPays(const QString &pays)
{
    QSqlQuery requete(base());
    requete.prepare(QStringLiteral("SELECT Pavorium FROM Pavoria WHERE PAYS = ?"));
    requete.addBindValue(pays);
    if (!requete.exec()) {
        echouerBase(requete.lastError());
        return std::nullopt;
    }
    if (!requete.next()) {
        echouer(QStringLiteral("n’a pas de drapeau lisible pour « %1 »").arg(pays));
        return std::nullopt;
    }
    return requete.value(0).toByteArray();
}

std::optional<QImage> ControleDonnees::drapeauDuPays(const QString &pays)
{
    const std::optional<QByteArray> dessin = dessinDuPays(pays);
    if (!dessin)
        return std::nullopt;
    QImage drapeau = QImage::fromData(*dessin);
    if (drapeau.isNull()) {
        echouer(QStringLiteral("n’a pas de drapeau lisible pour « %1 »").arg(pays));
        return std::nullopt;
    }
    return drapeau;
}

std::optional<int> ControleDonnees::plusPetitScore()
{
    QSqlQuery requete(base());
    if (!requete.exec(QStringLiteral("SELECT SCORE FROM SCORES ORDER BY SCORE, rowid LIMIT 1"))) {
        echouerBase(requete.lastError());
        return std::nullopt;
    }
    if (!requete.next()) {
        echouer(QStringLiteral("a une table des scores vide"));
        return std::nullopt;
    }
    return requete.value(0).toInt();
}

bool ControleDonnees::remplacerPlusPetitScore(const QString &nom, int score, const QDate &date)
{
    QSqlDatabase connexion = base();
    if (!connexion.transaction())
        return echouerBase(connexion.lastError());
    QSqlQuery requete(connexion);
    requete.prepare(QStringLiteral(
        "UPDATE SCORES SET NOM = ?, SCORE = ?, DATE = ? "
        "WHERE rowid = (SELECT rowid FROM SCORES ORDER BY SCORE, rowid LIMIT 1)"));
    requete.addBindValue(nom);
    requete.addBindValue(score);
    requete.addBindValue(date.toString(Qt::ISODate));
    if (!requete.exec()) {
        const QSqlError erreur = requete.lastError();
        connexion.rollback();
        return echouerBase(erreur);
    }
    if (!connexion.commit()) {
        const QSqlError erreur = connexion.lastError();
        connexion.rollback();
        return echouerBase(erreur);
    }
    return true;
}

std::optional<QList<ControleDonnees::LigneScore>> ControleDonnees::scoresDecroissants()
{
    QSqlQuery requete(base());
    requete.setForwardOnly(true);
    if (!requete.exec(
            QStringLiteral("SELECT NOM, SCORE, DATE FROM SCORES ORDER BY SCORE DESC, rowid"))) {
        echouerBase(requete.lastError());
        return std::nullopt;
    }
    QList<LigneScore> lignes;
    while (requete.next()) {
        lignes.append({requete.value(0).toString(), requete.value(1).toInt(),
                       QDate::fromString(requete.value(2).toString(), Qt::ISODate)});
    }
    return lignes;
}

bool ControleDonnees::echouer(const QString &faute)
{
    erreur_ = QStringLiteral("Le fichier de jeu « %1 » %2.").arg(fichier_, faute);
    return false;
}

bool ControleDonnees::echouerBase(const QSqlError &erreur)
{
    return echouer(fauteSqlite(erreur));
}
