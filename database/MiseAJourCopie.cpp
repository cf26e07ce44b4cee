#include "database/MiseAJourCopie.h"

#include "database/BasePassagere.h"
#include "database/ControleDonnees.h"
#include "database/Disque.h"
#include "database/FichierNeuf.h"
#include "database/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtEndian>

MiseAJourCopie::MiseAJourCopie(QString livre, QString copie)
    : livre_(std::move(livre))
    , copie_(std::move(copie))
{
}

std::optional<int> MiseAJourCopie::lireVersion(const QString &fichier)
{
    QFile lecture(fichier);
    if (!lecture.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray entete = lecture.read(Schema::positionVersion + 4);
    if (entete.size() < Schema::positionVersion + 4
        || !entete.startsWith(
            QByteArrayView(Schema::marqueSqlite.data(), Schema::marqueSqlite.size())))
        return std::nullopt;
    return qFromBigEndian<qint32>(entete.constData() + Schema::positionVersion);
}

bool MiseAJourCopie::necessaire() const
{
    const std::optional<int> livre = lireVersion(livre_);
    const std::optional<int> copie = lireVersion(copie_);
    // A copy newer than the shipped file, from a later version of the game, keeps its flags.
    return livre && copie && *copie < *livre;
}

QString MiseAJourCopie::modeleTemporaire(const QString &copie)
{
    return copie + QStringLiteral(".maj-");
}

bool MiseAJourCopie::executer()
{
    erreur_.clear();
    retirerRestes();
    {
        // Its scores checked as the game checks them, which also plays back the journal of a
        // score write cut short, so that the scores taken are those the player was told were
        // stored. Its flags are not asked for: they are what is replaced, and a newer game may
        // count more of them.
        ControleDonnees copie(QStringLiteral("MiseAJourCopie.copie"),
                              ControleDonnees::Acces::Lecture);
        if (!copie.ouvrirScores(copie_))
            return echouer(copie.erreur());
    }
    // A journal left now would be played back into the new file once it bears the copy's name.
    if (QFileInfo::exists(copie_ + QStringLiteral("-journal")))
        return echouer(QStringLiteral("un journal inachevé l’accompagne"));

    FichierNeuf nouvelle(modeleTemporaire(copie_) + QStringLiteral("XXXXXX"));
    if (nouvelle.nom().isEmpty())
        return echouer(nouvelle.erreur());
    if (!Disque::recopier(livre_, nouvelle.nom()))
        return echouer(QStringLiteral("copie de « %1 » impossible").arg(livre_));

    if (const QString panne = reprendreScores(nouvelle.nom()); !panne.isEmpty())
        return echouer(panne);
    {
        // The file that will replace the player's must be one the game plays on.
        ControleDonnees verification(QStringLiteral("MiseAJourCopie.nouvelle"),
                                     ControleDonnees::Acces::Lecture);
        if (!verification.ouvrirDrapeaux(nouvelle.nom())
            || !verification.ouvrirScores(nouvelle.nom()))
            return echouer(verification.erreur());
    }

    QFile::setPermissions(nouvelle.nom(), QFileInfo(copie_).permissions());
    // Killed at any moment, the player has the old copy or the new one, whole.
    if (const QString panne = nouvelle.mettreEnPlace(copie_); !panne.isEmpty())
        return echouer(panne);
    return true;
}

void MiseAJourCopie::retirerRestes() const
{
    // Only one copy of the game runs at a time (the single-copy lock): whatever bears the
    // name of a new file now was left by an update that was stopped.
    const QFileInfo copie(copie_);
    QDir dossier = copie.absoluteDir();
    const QString prefixe = QFileInfo(modeleTemporaire(copie_)).fileName();
    for (const QString &reste : dossier.entryList({prefixe + u'*'}, QDir::Files | QDir::Hidden))
        dossier.remove(reste);
}

QString MiseAJourCopie::reprendreScores(const QString &nouvelle) const
{
    return BasePassagere::travailler(nouvelle, QStringLiteral("rw"), [this](QSqlDatabase &base) {
        QSqlQuery requete(base);
        const auto lancer = [&requete](const QString &sql) { return requete.exec(sql); };
        // A new file cut short is thrown away whole, never played back: no journal on disk,
        // and one flush of the whole file before the rename.
        if (!lancer(QStringLiteral("PRAGMA journal_mode = MEMORY"))
            || !lancer(QStringLiteral("PRAGMA synchronous = OFF"))
            || !requete.prepare(Schema::attacheAncienne))
            return requete.lastError().text();
        requete.addBindValue(BasePassagere::adresse(copie_, QStringLiteral("ro")));
        if (!requete.exec() || !lancer(QStringLiteral("BEGIN")) || !lancer(Schema::effacementScores)
            || !lancer(Schema::repriseScores) || !lancer(Schema::nombreLignesScores)
            || !requete.next())
            return requete.lastError().text();
        if (requete.value(0).toInt() != Schema::nombreScores)
            return QStringLiteral("%1 scores repris au lieu de %2")
                .arg(requete.value(0).toInt())
                .arg(Schema::nombreScores);
        requete.finish();
        if (!lancer(QStringLiteral("COMMIT")) || !lancer(Schema::detacheAncienne))
            return requete.lastError().text();
        return QString();
    });
}

bool MiseAJourCopie::echouer(const QString &faute)
{
    erreur_ = QStringLiteral("La copie « %1 » n’a pas reçu les drapeaux de « %2 » : %3")
                  .arg(copie_, livre_, faute);
    return false;
}
