#pragma once

#include <cstddef>
#include <vector>

// Which pixels of a window have been drawn at least once since it took its size.
class Couverture
{
public:
    void redimensionner(int largeur, int hauteur);
    void marquer(int x, int y, int largeur, int hauteur);
    bool complete() const { return largeur_ > 0 && restants_ == 0; }

private:
    int largeur_ = 0;
    int hauteur_ = 0;
    std::vector<unsigned char> pixels_;
    std::size_t restants_ = 0;
};
