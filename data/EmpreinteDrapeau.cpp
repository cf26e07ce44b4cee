#include "data/EmpreinteDrapeau.h"

#include "core/Twips.h"
#include "database/Schema.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

constexpr float partPlusDifferente = 0.02f;

// The main window's flag image, 185 × 97 logical pixels, and the half of it where the blur is
// computed.
const int largeurImage = Twips::enPixels(Schema::largeurDessin);
const int hauteurImage = Twips::enPixels(Schema::hauteurDessin);
const int largeurVue = (largeurImage + 1) / 2;
const int hauteurVue = (hauteurImage + 1) / 2;

QImage decouperMarges(const QImage &dessin)
{
    constexpr QRgb gris = qRgb(192, 192, 192);
    const QImage image = dessin.convertToFormat(QImage::Format_RGB32);
    int gauche = image.width(), droite = -1, haut = image.height(), bas = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *ligne = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (ligne[x] != gris) {
                gauche = std::min(gauche, x);
                droite = std::max(droite, x);
                haut = std::min(haut, y);
                bas = std::max(bas, y);
            }
        }
    }
    return image.copy(QRect(QPoint(gauche, haut), QPoint(droite, bas)));
}

// sRGB's transfer function undone.
float lineariser(int composante)
{
    const float c = float(composante) / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

// CIELAB's cube root, linear near black.
float compresser(float t)
{
    return t > 216.0f / 24389.0f ? std::cbrt(t) : (24389.0f / 27.0f * t + 16.0f) / 116.0f;
}

// A separable Gaussian, the edges repeated: a flag's border is not a dark frame.
void flouter(std::vector<float> &canal, float sigma)
{
    const int w = largeurVue;
    const int h = hauteurVue;
    const int rayon = int(std::ceil(3 * sigma));
    std::vector<float> noyau(2 * rayon + 1);
    for (int i = -rayon; i <= rayon; ++i)
        noyau[i + rayon] = std::exp(-float(i * i) / (2 * sigma * sigma));
    const float somme = std::accumulate(noyau.begin(), noyau.end(), 0.0f);
    for (float &poids : noyau)
        poids /= somme;

    std::vector<float> passe(canal.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = 0;
            for (int i = -rayon; i <= rayon; ++i)
                v += noyau[i + rayon] * canal[y * w + std::clamp(x + i, 0, w - 1)];
            passe[y * w + x] = v;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = 0;
            for (int i = -rayon; i <= rayon; ++i)
                v += noyau[i + rayon] * passe[std::clamp(y + i, 0, h - 1) * w + x];
            canal[y * w + x] = v;
        }
}

} // namespace

// The stored picture, its grey margin cut, stretched over the main window's flag image
// (185 × 97) as a player who sees one flag at a time does not weigh 2:3 against 4:5; halved,
// which averages pixels; then blurred as S-CIELAB's narrow filters do, 0.05° for lightness and
// about 0.08° for colour, which at 60 cm from a 96 dpi screen are 2 and 3 logical pixels.
EmpreinteDrapeau::EmpreinteDrapeau(const QImage &dessin)
{
    const QImage vue =
        decouperMarges(dessin)
            .scaled(largeurImage, hauteurImage, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(largeurVue, hauteurVue, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    static const auto versLineaire = [] {
        std::array<float, 256> table{};
        for (int i = 0; i < 256; ++i)
            table[i] = lineariser(i);
        return table;
    }();

    std::vector<float> l, a, b;
    for (int y = 0; y < vue.height(); ++y) {
        const auto *ligne = reinterpret_cast<const QRgb *>(vue.constScanLine(y));
        for (int x = 0; x < vue.width(); ++x) {
            const float r = versLineaire[qRed(ligne[x])];
            const float v = versLineaire[qGreen(ligne[x])];
            const float bl = versLineaire[qBlue(ligne[x])];
            // sRGB to XYZ, white D65, then CIELAB.
            const float fx = compresser((0.4124f * r + 0.3576f * v + 0.1805f * bl) / 0.95047f);
            const float fy = compresser(0.2126f * r + 0.7152f * v + 0.0722f * bl);
            const float fz = compresser((0.0193f * r + 0.1192f * v + 0.9505f * bl) / 1.08883f);
            l.push_back(116 * fy - 16);
            a.push_back(500 * (fx - fy));
            b.push_back(200 * (fy - fz));
        }
    }
    flouter(l, 1.0f);
    flouter(a, 1.5f);
    flouter(b, 1.5f);

    // The blur leaves no detail finer than two of its pixels: every second one tells it all, and
    // a quarter of the pixels makes the pairs four times faster to compare.
    for (int y = 0; y < hauteurVue; y += 2) {
        for (int x = 0; x < largeurVue; x += 2) {
            l_.push_back(l[y * largeurVue + x]);
            a_.push_back(a[y * largeurVue + x]);
            b_.push_back(b[y * largeurVue + x]);
        }
    }
}

// Found in a histogram rather than by sorting, since every pair of the game is measured.
float EmpreinteDrapeau::ecart(const EmpreinteDrapeau &autre) const
{
    constexpr int classes = 512;
    constexpr float classesParUnite = 2.0f;
    // Plain arrays and pointers: the debug build measures some fifteen thousand pairs.
    int compte[classes] = {};
    float somme[classes] = {};
    const float *ul = l_.data(), *ua = a_.data(), *ub = b_.data();
    const float *vl = autre.l_.data(), *va = autre.a_.data(), *vb = autre.b_.data();
    const int pixels = int(l_.size());
    for (int i = 0; i < pixels; ++i) {
        const float dl = ul[i] - vl[i];
        const float da = ua[i] - va[i];
        const float db = ub[i] - vb[i];
        const float ecart = std::sqrt(dl * dl + da * da + db * db);
        int classe = int(ecart * classesParUnite);
        if (classe >= classes)
            classe = classes - 1;
        ++compte[classe];
        somme[classe] += ecart;
    }
    const int voulus = std::max(1, int(std::lround(partPlusDifferente * float(pixels))));
    int pris = 0;
    float total = 0;
    for (int classe = classes - 1; classe >= 0 && pris < voulus; --classe) {
        if (compte[classe] == 0)
            continue;
        const int n = std::min(compte[classe], voulus - pris);
        total += somme[classe] / float(compte[classe]) * float(n);
        pris += n;
    }
    return total / float(pris);
}
