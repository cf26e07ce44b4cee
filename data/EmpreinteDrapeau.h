#pragma once

#include <QImage>

#include <vector>

// A flag as a player's eye keeps it at arm's length, and how far apart two flags look. The twins
// test compares every pair of the game by it, and the refresh of the flags compares each render
// with the package's own picture by it.
class EmpreinteDrapeau
{
public:
    // From a stored picture (ConstructeurBase::composerDessin): its grey margin cut, the flag
    // stretched over the main window's flag image, halved, blurred, in CIELAB.
    explicit EmpreinteDrapeau(const QImage &dessin);

    // The mean CIELAB ΔE of the 2 % of the picture that differ most: about a patch the size of a
    // small coat of arms, where a player looks for the difference.
    [[nodiscard]] float ecart(const EmpreinteDrapeau &autre) const;

private:
    std::vector<float> l_, a_, b_;
};
