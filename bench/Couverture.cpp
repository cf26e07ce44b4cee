#include "bench/Couverture.h"

#include <algorithm>

void Couverture::redimensionner(int largeur, int hauteur)
{
    largeur_ = std::max(0, largeur);
    hauteur_ = std::max(0, hauteur);
    pixels_.assign(static_cast<std::size_t>(largeur_) * static_cast<std::size_t>(hauteur_), 0);
    restants_ = pixels_.size();
}

void Couverture::marquer(int x, int y, int largeur, int hauteur)
{
    const int x1 = std::max(0, x);
    const int y1 = std::max(0, y);
    const int x2 = std::min(largeur_, x + largeur);
    const int y2 = std::min(hauteur_, y + hauteur);
    for (int ligne = y1; ligne < y2; ++ligne) {
        unsigned char *pixel = pixels_.data() + static_cast<std::size_t>(ligne) * largeur_;
        for (int colonne = x1; colonne < x2; ++colonne) {
            restants_ -= pixel[colonne] == 0;
            pixel[colonne] = 1;
        }
    }
}
