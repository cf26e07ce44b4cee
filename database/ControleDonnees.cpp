#include "database/ControleDonnees.h"

#include "database/BasePassagere.h"
#include "database/Schema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// The driver reports SQLite's extended result codes; the primary code is their low byte.
QString fauteSqlite(const QSqlError &erreur)
{
    const int etendu = erreur.nativeErrorCode().toInt();
    switch (etendu & 0xff) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("est occupé par un autre programme");
    case 8:                 // SQLITE_READONLY
        if (etendu == 1544) // SQLITE_READONLY_DIRECTORY: no rollback journal can be made
            return QStringLiteral("est dans un dossier en lecture seule");
        return QStringLiteral("est en lecture seule");
    case 10: // SQLITE_IOERR
        return QStringLiteral("n’a pas pu être lu ou écrit sur le disque");
    case 13: // SQLITE_FULL
        return QStringLiteral("ne peut pas être écrit : le disque est plein");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("est endommagé");
    case 14: // SQLITE_CANTOPEN
        return QStringLiteral("ne peut pas être ouvert");
    default:
        return QStringLiteral("a provoqué une erreur de la base de données (%1)")
            .arg(erreur.text().trimmed());
    }
}

QString lignes(qsizetype nombre)
{
    return QString::number(nombre)
           + (nombre < 2 ? QStringLiteral(" ligne") : QStringLiteral(" lignes"));
}

} // namespace

ControleDonnees::ControleDonnees(const QString &role, Acces acces)
    // Qt keeps connections by name in one registry: two live instances never share an address.
    : nomConnexion_(QStringLiteral("%1@%2").arg(role).arg(quintptr(this), 0, 16))
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
    return ouvrir(fichier, Schema::tableDrapeaux,
                  {Schema::champNumero, Schema::champPays, Schema::champDessin})
           && verifierNumeros();
}

bool ControleDonnees::ouvrirScores(const QString &fichier)
{
    return ouvrir(fichier, Schema::tableScores,
                  {Schema::champNom, Schema::champScore, Schema::champDate})
           && verifierNombreScores();
}

bool ControleDonnees::ouvrir(const QString &fichier, const QString &table,
                             const QStringList &champs)
{
    fermer();
    fichier_ = fichier;
    erreur_.clear();
    // SQLite would create a missing file; the game must never stand in an empty one.
    const QFileInfo info(fichier);
    if (!info.isFile())
        return echouer(QStringLiteral("est introuvable"));
    if (info.size() == 0)
        return echouer(QStringLiteral("est vide"));

    QSqlDatabase connexion = base();
    // mode=rw never creates the file, and falls back to reading a file it may not write.
    // Readers open it so too rather than read-only: a copy of the game stopped in the middle
    // of a score write leaves a rollback journal that only a writable connection can play
    // back, and a read-only one would refuse the file until then. query_only keeps them
    // from writing anything else.
    connexion.setDatabaseName(BasePassagere::adresse(fichier, QStringLiteral("rw")));
    connexion.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    if (!connexion.open())
        return echouerBase(connexion.lastError());
    if (!regler())
        return false;
    if (!verifierTable(table, champs)) {
        connexion.close();
        return false;
    }
    return true;
}

bool ControleDonnees::regler()
{
    if (acces_ == Acces::Lecture)
        return reglerPragma(QStringLiteral("query_only"), QStringLiteral("ON"),
                            QStringLiteral("1"));
    // A score written is on disk before the player is told so, and the table stays whole if the
    // program or the machine stops in the middle: the rollback journal (DELETE mode, the file's
    // own) is synced before the file is touched, and the file before the journal goes. Not WAL:
    // it keeps -wal and -shm files beside the game's file, needs a writable folder even to read,
    // and would stay set in the file for every reader, a read-only install included. The
    // promise rests on both settings, so each is read back.
    return reglerPragma(QStringLiteral("journal_mode"), QStringLiteral("DELETE"),
                        QStringLiteral("delete"))
           && reglerPragma(QStringLiteral("synchronous"), QStringLiteral("FULL"),
                           QStringLiteral("2"));
}

bool ControleDonnees::reglerPragma(const QString &pragma, const QString &valeur,
                                   const QString &valeurLue)
{
    // SQLite ignores a setting it cannot apply, or keeps the journal mode it has, without an
    // error: only reading the setting back tells.
    QSqlQuery requete(base());
    if (!requete.exec(QStringLiteral("PRAGMA %1 = %2").arg(pragma, valeur))
        || !requete.exec(QStringLiteral("PRAGMA %1").arg(pragma)))
        return echouerOuvert(requete.lastError());
    if (!requete.next()
        || requete.value(0).toString().compare(valeurLue, Qt::CaseInsensitive) != 0) {
        requete.finish();
        base().close();
        return echouer(
            QStringLiteral("refuse le réglage %1 = %2 de la base de données").arg(pragma, valeur));
    }
    return true;
}

bool ControleDonnees::verifierNumeros()
{
    // The question turn draws any number: find a missing one now, not when it is drawn.
    QSqlQuery requete(base());
    requete.setForwardOnly(true);
    requete.prepare(Schema::numerosPresents);
    requete.addBindValue(Schema::nombreDrapeaux);
    if (!requete.exec())
        return echouerOuvert(requete.lastError());
    int attendu = 1;
    while (requete.next() && requete.value(0).toInt() == attendu)
        ++attendu;
    if (requete.lastError().isValid())
        return echouerOuvert(requete.lastError());
    if (attendu <= Schema::nombreDrapeaux) {
        base().close();
        return echouer(QStringLiteral("ne contient pas le drapeau n° %1").arg(attendu));
    }
    return true;
}

bool ControleDonnees::verifierNombreScores()
{
    // Rows are only ever overwritten: a table of any other size is damaged.
    QSqlQuery requete(base());
    if (!requete.exec(Schema::nombreLignesScores) || !requete.next())
        return echouerOuvert(requete.lastError());
    const qsizetype nombre = requete.value(0).toLongLong();
    if (nombre != Schema::nombreScores) {
        base().close();
        return echouer(QStringLiteral("a une table des scores de %1 au lieu de %2")
                           .arg(lignes(nombre), QString::number(Schema::nombreScores)));
    }
    return true;
}

bool ControleDonnees::echouerOuvert(const QSqlError &erreur)
{
    base().close();
    return echouerBase(erreur);
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
    requete.prepare(Schema::paysDuNumero);
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
    requete.prepare(Schema::dessinDuPays);
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

bool ControleDonnees::viderCache()
{
    // Frees every page that no statement holds: with none running, the whole cache.
    QSqlQuery requete(base());
    if (!requete.exec(QStringLiteral("PRAGMA shrink_memory")))
        return echouerBase(requete.lastError());
    return true;
}

std::optional<int> ControleDonnees::plusPetitScore()
{
    QSqlQuery requete(base());
    if (!requete.exec(Schema::plusPetitScore)) {
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
    // BEGIN and COMMIT as statements: QSqlDatabase::commit() drops SQLite's result code, and
    // with it what the player should be told (a reader that keeps the commit waiting).
    QSqlQuery requete(base());
    if (!requete.exec(QStringLiteral("BEGIN")))
        return echouerBase(requete.lastError());
    requete.prepare(Schema::remplacementPlusPetitScore);
    requete.addBindValue(nom);
    requete.addBindValue(score);
    requete.addBindValue(date.toString(Qt::ISODate));
    if (!requete.exec() || !requete.exec(QStringLiteral("COMMIT"))) {
        const QSqlError erreur = requete.lastError();
        requete.exec(QStringLiteral("ROLLBACK"));
        return echouerBase(erreur);
    }
    return true;
}

std::optional<QList<ControleDonnees::LigneScore>> ControleDonnees::scoresDecroissants()
{
    QSqlQuery requete(base());
    requete.setForwardOnly(true);
    if (!requete.exec(Schema::scoresDecroissants)) {
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
