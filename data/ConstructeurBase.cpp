#include "data/ConstructeurBase.h"

#include "database/BasePassagere.h"
#include "database/FichierNeuf.h"
#include "database/Schema.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr QLatin1StringView enTete{"NUMERO;ISO;PAYS"};

struct ScoreInitial
{
    const char *nom;
    int score;
    const char *date;
};

// A game is worth up to 75 points: a new player can climb into every one of these rows.
constexpr std::array<ScoreInitial, Schema::nombreScores> scoresInitiaux{{
    {"JULIETTE", 40, "2000-01-15"},
    {"MARCEL", 36, "2000-02-20"},
    {"CAMILLE", 32, "2000-03-11"},
    {"GASTON", 28, "2000-04-02"},
    {"MADELEINE", 24, "2000-05-27"},
    {"LÉON", 20, "2000-06-18"},
    {"SIMONE", 16, "2000-07-14"},
    {"ARMAND", 12, "2000-08-09"},
    {"HÉLÈNE", 8, "2000-09-30"},
    {"ÉMILE", 4, "2000-10-21"},
}};

bool estCodeIso(const QString &code)
{
    return code.size() == 2
           && std::ranges::all_of(code, [](QChar c) { return c >= u'a' && c <= u'z'; });
}

QByteArray encoderPng(const QImage &image)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    // Quality 0 asks for the strongest compression: the game file carries 178 pictures.
    if (!image.save(&tampon, "PNG", 0))
        return {};
    return octets;
}

} // namespace

ConstructeurBase::ConstructeurBase(QString fichierPays, QString dossierDrapeaux,
                                   QString fichierSortie)
    : fichierPays_(std::move(fichierPays))
    , dossierDrapeaux_(std::move(dossierDrapeaux))
    , fichierSortie_(std::move(fichierSortie))
{
}

bool ConstructeurBase::construire()
{
    erreur_.clear();
    // Everything is read and checked before the first byte is written.
    auto pays = lirePays();
    if (!pays)
        return false;
    const auto scores = lireScores();
    return scores && composerDessins(*pays) && ecrireBase(*pays, *scores);
}

QImage ConstructeurBase::composerDessin(const QImage &drapeau)
{
    const QSize taille = Schema::tailleDessin();
    QImage dessin(taille, QImage::Format_RGB32);
    dessin.fill(grisPanneau);
    if (drapeau.isNull())
        return dessin;
    // QImage's smooth scaling averages every pixel it drops, where QPainter's bilinear filter
    // would alias the thin lines of coats of arms. Given a large indexed picture it keeps the
    // palette and dithers the blended colours, hence true colour first.
    const auto format =
        drapeau.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QRect place = placeDrapeau(drapeau.size());
    const QImage reduit =
        drapeau.convertToFormat(format).scaled(place.size(), Qt::IgnoreAspectRatio, miseAEchelle);
    QPainter peintre(&dessin);
    peintre.drawImage(place.topLeft(), reduit);
    return dessin;
}

QRect ConstructeurBase::placeDrapeau(QSize drapeau)
{
    // The picture is twice the image's size in logical pixels, and a screen of one pixel per
    // logical pixel shows it halved: a flag on an even pixel, an even number of pixels long and
    // wide, keeps clean edges there, where one on an odd pixel would share its outer pixels with
    // the grey, a fringe. Stretched by a pixel at most; centred within one.
    const QSize taille = Schema::tailleDessin();
    const QSize place = drapeau.scaled(taille, Qt::KeepAspectRatio);
    const QSize placePaire(place.width() & ~1, place.height() & ~1);
    return {QPoint(((taille.width() - placePaire.width()) / 2) & ~1,
                   ((taille.height() - placePaire.height()) / 2) & ~1),
            placePaire};
}

std::optional<QList<ConstructeurBase::Pays>> ConstructeurBase::lirePays()
{
    QFile fichier(fichierPays_);
    if (!fichier.open(QIODevice::ReadOnly)) {
        echouer(QStringLiteral("%1: lecture impossible (%2)")
                    .arg(QDir::toNativeSeparators(fichierPays_), fichier.errorString()));
        return std::nullopt;
    }
    const QList<QByteArray> lignes = fichier.readAll().split('\n');

    QList<Pays> pays;
    bool enTeteLu = false;
    for (qsizetype i = 0; i < lignes.size(); ++i) {
        const qsizetype numeroLigne = i + 1;
        const std::optional<QString> ligne = decoderLigne(lignes[i], numeroLigne);
        if (!ligne)
            return std::nullopt;
        // Comments and blank lines may come anywhere, the header first of the other lines.
        if (ligne->startsWith(u'#') || ligne->trimmed().isEmpty())
            continue;
        if (!enTeteLu) {
            if (*ligne != enTete) {
                refuser(numeroLigne, QStringLiteral("en-tête « %1 » attendu").arg(enTete));
                return std::nullopt;
            }
            enTeteLu = true;
            continue;
        }
        std::optional<Pays> unPays = lireLigne(*ligne, numeroLigne);
        if (!unPays || !verifierNouveau(*unPays, pays) || !trouverDrapeau(*unPays))
            return std::nullopt;
        pays.append(std::move(*unPays));
    }
    if (!verifierComplet(enTeteLu, pays))
        return std::nullopt;
    std::ranges::sort(pays, {}, &Pays::numero);
    return pays;
}

std::optional<QString> ConstructeurBase::decoderLigne(QByteArrayView octets, qsizetype ligne)
{
    if (octets.endsWith('\r'))
        octets.chop(1);
    // A list saved in another encoding would put garbled names in front of the player. The
    // decoder also drops the byte order mark that some editors put first.
    QStringDecoder decodeur(QStringDecoder::Utf8);
    QString texte = decodeur(octets);
    if (decodeur.hasError()) {
        refuser(ligne, QStringLiteral("texte qui n’est pas de l’UTF-8"));
        return std::nullopt;
    }
    return texte;
}

std::optional<ConstructeurBase::Pays> ConstructeurBase::lireLigne(const QString &texte,
                                                                  qsizetype ligne)
{
    const auto refus = [&](const QString &message) {
        refuser(ligne, message);
        return std::nullopt;
    };
    const QStringList champs = texte.split(u';');
    if (champs.size() != 3)
        return refus(QStringLiteral("trois champs NUMERO;ISO;PAYS attendus, lu « %1 »").arg(texte));
    bool entier = false;
    const int numero = champs[0].trimmed().toInt(&entier);
    if (!entier)
        return refus(QStringLiteral("numéro « %1 » illisible").arg(champs[0]));
    if (numero < 1 || numero > Schema::nombreDrapeaux)
        return refus(
            QStringLiteral("numéro %1 hors de 1 à %2").arg(numero).arg(Schema::nombreDrapeaux));
    const QString iso = champs[1].trimmed();
    if (!estCodeIso(iso))
        return refus(QStringLiteral("code « %1 » : deux lettres minuscules attendues").arg(iso));
    const QString nom = champs[2].trimmed().normalized(QString::NormalizationForm_C);
    if (nom.isEmpty())
        return refus(QStringLiteral("nom de pays vide"));
    // The flag table's own rule: its names hold no ASCII apostrophe. A rule of the file, not of
    // the look-up: every look-up binds its value, so none would break on one.
    if (nom.contains(u'\''))
        return refus(QStringLiteral("apostrophe ASCII dans « %1 » : écrire ’ (U+2019)").arg(nom));
    return Pays{ligne, numero, iso, nom, {}, {}};
}

bool ConstructeurBase::verifierNouveau(const Pays &unPays, const QList<Pays> &dejaLus)
{
    const auto deja = [&](auto &&pareil, const QString &quoi) {
        const auto anterieur = std::ranges::find_if(dejaLus, pareil);
        if (anterieur == dejaLus.cend())
            return false;
        refuser(
            unPays.ligne,
            QStringLiteral("%1 déjà donné ligne %2").arg(quoi, QString::number(anterieur->ligne)));
        return true;
    };
    // Names that differ only by case would look like one answer twice.
    const QString cleNom = unPays.nom.toCaseFolded();
    return !deja([&](const Pays &p) { return p.numero == unPays.numero; },
                 QStringLiteral("numéro %1").arg(unPays.numero))
           && !deja([&](const Pays &p) { return p.iso == unPays.iso; },
                    QStringLiteral("drapeau « %1 »").arg(unPays.iso))
           && !deja([&](const Pays &p) { return p.nom.toCaseFolded() == cleNom; },
                    QStringLiteral("nom « %1 »").arg(unPays.nom));
}

bool ConstructeurBase::trouverDrapeau(Pays &unPays)
{
    unPays.drapeau = QDir(dossierDrapeaux_).filePath(unPays.iso + QStringLiteral(".png"));
    if (QFileInfo(unPays.drapeau).isFile())
        return true;
    return refuser(
        unPays.ligne,
        QStringLiteral("drapeau introuvable : %1").arg(QDir::toNativeSeparators(unPays.drapeau)));
}

bool ConstructeurBase::verifierComplet(bool enTeteLu, const QList<Pays> &pays)
{
    const QString nomFichier = QDir::toNativeSeparators(fichierPays_);
    if (!enTeteLu)
        return echouer(QStringLiteral("%1: en-tête « %2 » absent").arg(nomFichier, enTete));
    QStringList absents;
    for (int numero = 1; numero <= Schema::nombreDrapeaux; ++numero) {
        if (!std::ranges::any_of(pays, [numero](const Pays &p) { return p.numero == numero; }))
            absents.append(QString::number(numero));
    }
    if (absents.isEmpty())
        return true;
    return echouer(
        QStringLiteral("%1: numéros absents : %2 (chaque numéro de 1 à %3 attendu une fois)")
            .arg(nomFichier, absents.join(QStringLiteral(", ")),
                 QString::number(Schema::nombreDrapeaux)));
}

bool ConstructeurBase::composerDessins(QList<Pays> &pays)
{
    for (Pays &unPays : pays) {
        const QString &chemin = unPays.drapeau;
        const QImage drapeau(chemin);
        if (drapeau.isNull()) {
            return echouer(QStringLiteral("%1:%2: drapeau illisible : %3")
                               .arg(QDir::toNativeSeparators(fichierPays_),
                                    QString::number(unPays.ligne),
                                    QDir::toNativeSeparators(chemin)));
        }
        unPays.dessin = encoderPng(composerDessin(drapeau));
        if (unPays.dessin.isEmpty())
            return echouer(
                QStringLiteral("%1: codage PNG impossible").arg(QDir::toNativeSeparators(chemin)));
    }
    return true;
}

std::optional<QList<ConstructeurBase::LigneScore>> ConstructeurBase::lireScores()
{
    QList<LigneScore> scores;
    if (!QFileInfo::exists(fichierSortie_)) {
        for (const ScoreInitial &score : scoresInitiaux)
            scores.append(
                {QString::fromUtf8(score.nom), score.score, QString::fromLatin1(score.date)});
        return scores;
    }

    // Opened for writing, as the game's readers open it: a score write cut short leaves a
    // journal that only a writable connection plays back, and a read-only one would refuse
    // the file. query_only keeps this reader from writing anything else.
    const QString panne = BasePassagere::travailler(
        fichierSortie_, QStringLiteral("rw"), [&scores](QSqlDatabase &base) {
            QSqlQuery requete(base);
            if (!requete.exec(QStringLiteral("PRAGMA query_only = ON")))
                return requete.lastError().text();
            // Row order decides which of equal lowest scores the game overwrites first: keep it.
            if (!requete.exec(Schema::scoresStockes))
                return requete.lastError().text();
            while (requete.next())
                scores.append({requete.value(0), requete.value(1), requete.value(2)});
            if (requete.lastError().isValid())
                return requete.lastError().text();
            if (scores.size() != Schema::nombreScores)
                return QStringLiteral("la table %1 a %2 lignes au lieu de %3")
                    .arg(Schema::tableScores)
                    .arg(scores.size())
                    .arg(Schema::nombreScores);
            return QString();
        });
    if (!panne.isEmpty()) {
        echouer(QStringLiteral(
                    "%1: fichier existant illisible ou endommagé (%2) ; il reste tel quel pour "
                    "ne pas perdre ses scores : le réparer, ou le déplacer pour repartir des "
                    "scores initiaux")
                    .arg(QDir::toNativeSeparators(fichierSortie_), panne));
        return std::nullopt;
    }
    return scores;
}

bool ConstructeurBase::ecrireBase(const QList<Pays> &pays, const QList<LigneScore> &scores)
{
    const QFileInfo sortie(fichierSortie_);
    const QString nomSortie = QDir::toNativeSeparators(fichierSortie_);
    // Written beside the output and renamed over it once complete, so that the game never meets
    // a half-written file; on failure it goes.
    FichierNeuf temporaire(
        sortie.absoluteDir().filePath(sortie.fileName() + QStringLiteral(".XXXXXX")));
    if (temporaire.nom().isEmpty())
        return echouer(
            QStringLiteral("%1: écriture impossible (%2)").arg(nomSortie, temporaire.erreur()));

    const QString panne =
        BasePassagere::travailler(temporaire.nom(), QStringLiteral("rw"),
                                  [&](QSqlDatabase &base) { return remplir(base, pays, scores); });
    if (!panne.isEmpty())
        return echouer(QStringLiteral("%1: écriture impossible (%2)").arg(nomSortie, panne));

    // A new file is private to its owner; the game's file keeps the rights of the one it
    // replaces, or those of an ordinary file.
    QFile::setPermissions(temporaire.nom(), sortie.exists()
                                                     ? sortie.permissions()
                                                     : QFile::ReadOwner | QFile::WriteOwner
                                                           | QFile::ReadGroup | QFile::ReadOther);
    // SQLite would play a journal of the old file back into the new one once it bears the name.
    if (QFileInfo::exists(fichierSortie_ + QStringLiteral("-journal")))
        return echouer(QStringLiteral("%1: un journal inachevé l’accompagne").arg(nomSortie));
    // The game never meets a half-written file, even on a machine that stops.
    if (const QString panne = temporaire.mettreEnPlace(fichierSortie_); !panne.isEmpty())
        return echouer(QStringLiteral("%1: %2").arg(nomSortie, panne));
    return true;
}

QString ConstructeurBase::remplir(QSqlDatabase &base, const QList<Pays> &pays,
                                  const QList<LigneScore> &scores)
{
    QSqlQuery requete(base);
    if (!requete.exec(QStringLiteral("BEGIN")) || !requete.exec(Schema::creationDrapeaux)
        || !requete.exec(Schema::creationScores) || !requete.exec(Schema::ecritureVersion())
        || !requete.prepare(Schema::ajoutDrapeau)) {
        return requete.lastError().text();
    }
    for (const Pays &unPays : pays) {
        requete.addBindValue(unPays.numero);
        requete.addBindValue(unPays.nom);
        requete.addBindValue(unPays.dessin);
        if (!requete.exec())
            return requete.lastError().text();
    }
    if (!requete.prepare(Schema::ajoutScore))
        return requete.lastError().text();
    for (const LigneScore &score : scores) {
        for (const QVariant &valeur : score)
            requete.addBindValue(valeur);
        if (!requete.exec())
            return requete.lastError().text();
    }
    if (!requete.exec(QStringLiteral("COMMIT")))
        return requete.lastError().text();
    return QString();
}

bool ConstructeurBase::refuser(qsizetype ligne, const QString &message)
{
    return echouer(
        QStringLiteral("%1:%2: %3")
            .arg(QDir::toNativeSeparators(fichierPays_), QString::number(ligne), message));
}

bool ConstructeurBase::echouer(const QString &message)
{
    erreur_ = message;
    return false;
}
