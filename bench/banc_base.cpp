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

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

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
        if (!donnees.ouvrirDrapeaux(banc.fichier())) {
            etat.SkipWithError(qPrintable(donnees.erreur()));
            break;
        }
    }
    etat.counters["drapeaux"] = banc.nombreDrapeaux();
}

// Three names by number, then the picture of one of them by its name, as a turn does; nothing
// once a look-up fails.
std::optional<QByteArray> chercher(ControleDonnees &donnees, QRandomGenerator &hasard,
                                   int nombreDrapeaux)
{
    const std::array<int, 3> numeros = tirer(hasard, nombreDrapeaux);
    std::array<QString, 3> noms;
    for (std::size_t i = 0; i < numeros.size(); ++i) {
        std::optional<QString> nom = donnees.paysDuNumero(numeros[i]);
        if (!nom)
            return std::nullopt;
        noms[i] = std::move(*nom);
    }
    return donnees.dessinDuPays(noms[hasard.bounded(3)]);
}

// A turn opens the file afresh, so it starts with SQLite's page cache empty: emptied here before
// each look-up too, or the small file would be read from memory and the large one from the system.
void BM_Recherches(benchmark::State &etat)
{
    const BaseDeBanc &banc = base(static_cast<int>(etat.range(0)));
    ControleDonnees donnees(QStringLiteral("Banc.recherches"), ControleDonnees::Acces::Lecture);
    if (!donnees.ouvrirDrapeaux(banc.fichier()))
        etat.SkipWithError(qPrintable(donnees.erreur()));
    QRandomGenerator hasard(1789);
    for (auto _ : etat) {
        etat.PauseTiming();
        if (!donnees.viderCache()) {
            etat.SkipWithError(qPrintable(donnees.erreur()));
            break;
        }
        etat.ResumeTiming();
        // Not const: DoNotOptimize of a const object lets the compiler fold it, and is deprecated.
        std::optional<QByteArray> dessin = chercher(donnees, hasard, banc.nombreDrapeaux());
        if (!dessin) {
            etat.SkipWithError(qPrintable(donnees.erreur()));
            break;
        }
        benchmark::DoNotOptimize(dessin);
    }
    etat.counters["drapeaux"] = banc.nombreDrapeaux();
}

// Every flag in turn: their pictures differ in how well they compress.
void BM_DecodageDrapeau(benchmark::State &etat)
{
    ControleDonnees donnees(QStringLiteral("Banc.decodage"), ControleDonnees::Acces::Lecture);
    std::vector<QByteArray> dessins;
    bool lus = donnees.ouvrirDrapeaux(base(1).fichier());
    for (int numero = 1; lus && numero <= Schema::nombreDrapeaux; ++numero) {
        const std::optional<QString> pays = donnees.paysDuNumero(numero);
        std::optional<QByteArray> dessin = pays ? donnees.dessinDuPays(*pays) : std::nullopt;
        lus = dessin.has_value();
        if (lus)
            dessins.push_back(std::move(*dessin));
    }
    if (!lus)
        etat.SkipWithError(qPrintable(donnees.erreur()));
    // Where the main window shows it, in logical pixels.
    const QSize taille(Twips::enPixels(2775), Twips::enPixels(1455));
    std::size_t suivant = 0;
    for (auto _ : etat) {
        const QImage drapeau = QImage::fromData(dessins[suivant]);
        if (drapeau.isNull()) {
            etat.SkipWithError(
                qPrintable(QStringLiteral("flag n° %1 cannot be decoded").arg(suivant + 1)));
            break;
        }
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
