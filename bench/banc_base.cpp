// The database work of a question turn, piece by piece, on the game's file and on one with a
// hundred times as many flags: opening it, the look-ups, decoding and scaling one flag.

#include "bench/BaseDeBanc.h"
#include "bench/Mesures.h"
#include "core/Twips.h"
#include "database/ControleDonnees.h"
#include "database/Schema.h"
#include "quiz/Partie.h"

#include <QImage>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <array>
#include <map>
#include <memory>

namespace {

// Made once per process: the large one takes a few seconds to write.
const BaseDeBanc &base(int facteur)
{
    static std::map<int, std::unique_ptr<BaseDeBanc>> bases;
    auto &resultat = bases[facteur];
    if (!resultat)
        resultat = std::make_unique<BaseDeBanc>(facteur);
    return *resultat;
}

std::array<int, 3> tirer(QRandomGenerator &hasard, int nombre)
{
    std::array<int, 3> numeros{};
    for (std::size_t i = 0; i < numeros.size(); ++i) {
        int numero = 0;
        do {
            numero = static_cast<int>(hasard.bounded(1, nombre + 1));
        } while (
            std::find(numeros.begin(), numeros.begin() + static_cast<std::ptrdiff_t>(i), numero)
            != numeros.begin() + static_cast<std::ptrdiff_t>(i));
        numeros[i] = numero;
    }
    return numeros;
}

void BM_OuvertureBase(benchmark::State &etat)
{
    const BaseDeBanc &banc = base(static_cast<int>(etat.range(0)));
    ControleDonnees donnees(QStringLiteral("Banc.ouverture"), ControleDonnees::Acces::Lecture);
    for (auto _ : etat) {
        if (!donnees.ouvrirDrapeaux(banc.fichier()))
            etat.SkipWithError(qPrintable(donnees.erreur()));
    }
    etat.counters["drapeaux"] = banc.nombreDrapeaux();
}

// Three names by number, then the picture of one of them by its name, as a turn does. A turn
// opens the file afresh, so it starts with SQLite's page cache empty: emptied here before each
// look-up too, or the small file would be read from memory and the large one from the system.
void BM_Recherches(benchmark::State &etat)
{
    const BaseDeBanc &banc = base(static_cast<int>(etat.range(0)));
    const QString connexion = QStringLiteral("Banc.recherches");
    ControleDonnees donnees(connexion, ControleDonnees::Acces::Lecture);
    if (!donnees.ouvrirDrapeaux(banc.fichier()))
        etat.SkipWithError(qPrintable(donnees.erreur()));
    QSqlQuery viderCache(QSqlDatabase::database(connexion, false));
    QRandomGenerator hasard(1789);
    for (auto _ : etat) {
        etat.PauseTiming();
        viderCache.exec(QStringLiteral("PRAGMA shrink_memory"));
        etat.ResumeTiming();
        const std::array<int, 3> numeros = tirer(hasard, banc.nombreDrapeaux());
        std::array<QString, 3> noms;
        for (std::size_t i = 0; i < numeros.size(); ++i)
            noms[i] = donnees.paysDuNumero(numeros[i]).value_or(QString());
        // Not const: DoNotOptimize of a const object lets the compiler fold it, and is deprecated.
        std::optional<QByteArray> dessin = donnees.dessinDuPays(noms[hasard.bounded(3)]);
        if (!dessin)
            etat.SkipWithError(qPrintable(donnees.erreur()));
        benchmark::DoNotOptimize(dessin);
    }
    etat.counters["drapeaux"] = banc.nombreDrapeaux();
}

// Every flag in turn: their pictures differ in how well they compress.
void BM_DecodageDrapeau(benchmark::State &etat)
{
    ControleDonnees donnees(QStringLiteral("Banc.decodage"), ControleDonnees::Acces::Lecture);
    if (!donnees.ouvrirDrapeaux(base(1).fichier()))
        etat.SkipWithError(qPrintable(donnees.erreur()));
    std::vector<QByteArray> dessins;
    for (int numero = 1; numero <= Schema::nombreDrapeaux; ++numero)
        dessins.push_back(donnees.dessinDuPays(donnees.paysDuNumero(numero).value()).value());
    // Where the main window shows it, in logical pixels.
    const QSize taille(Twips::enPixels(2775), Twips::enPixels(1455));
    std::size_t suivant = 0;
    for (auto _ : etat) {
        const QImage drapeau = QImage::fromData(dessins[suivant]);
        const QImage montre =
            drapeau.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(montre.constBits());
        suivant = (suivant + 1) % dessins.size();
    }
}

} // namespace

BENCHMARK(BM_OuvertureBase)->Arg(1)->Arg(100)->ArgName("facteur")->Apply(Mesures::appliquer);
BENCHMARK(BM_Recherches)->Arg(1)->Arg(100)->ArgName("facteur")->Apply(Mesures::appliquer);
BENCHMARK(BM_DecodageDrapeau)->Apply(Mesures::appliquer);
