#pragma once

#include <QRect>
#include <QRectF>

#include <cmath>

// Window designs are measured in twips; Qt places widgets in logical pixels (96 dpi),
// which it scales itself on HiDPI screens. This is the one place that converts.
namespace Twips {

inline constexpr float parPixel = 15.0f;

inline int enPixels(float twips)
{
    return static_cast<int>(std::lround(twips / parPixel));
}

inline float depuisPixels(int pixels)
{
    return static_cast<float>(pixels) * parPixel;
}

inline QRect rectangle(float gauche, float haut, float largeur, float hauteur)
{
    return QRect(enPixels(gauche), enPixels(haut), enPixels(largeur), enPixels(hauteur));
}

inline QRect rectangle(const QRectF &twips)
{
    return rectangle(static_cast<float>(twips.x()), static_cast<float>(twips.y()),
                     static_cast<float>(twips.width()), static_cast<float>(twips.height()));
}

} // namespace Twips
