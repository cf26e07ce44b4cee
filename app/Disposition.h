#pragma once

#include "database/Schema.h"

#include <QRectF>

// Where the main window's frames, the flag panel and the masks go, in twips. The design
// gives each control's rectangle; start-up centres the frames against the screen width and
// splits the free height into three equal gaps. Nothing is clamped: a narrow screen gives
// a negative Left, a low window a negative gap.
class Disposition
{
public:
    // The window design, relative to each control's container.
    static constexpr float hauteurBarreBoutons = 630;
    static constexpr float hauteurBarre = 345;
    static constexpr QRectF boiteImageDessin{600, 960, 7935, 2295};
    static constexpr QRectF supportImageDessin{2400, 360, 3015, 1695};
    static constexpr QRectF dessin1Dessin{120, 120, Schema::largeurDessin, Schema::hauteurDessin};
    static constexpr QRectF masqueGaucheDessin{120, 240, 2205, 1935};
    static constexpr QRectF masqueDroitDessin{5520, 240, 2205, 1935};
    static constexpr QRectF boiteBoutonsDessin{600, 3360, 7935, 2775};

    static Disposition calculer(float largeurEcran, float hauteurFenetre);

    QRectF boiteImage;
    QRectF boiteBoutons;
    QRectF supportImage;
    QRectF dessin1;
    QRectF masqueGauche; // closed
    QRectF masqueDroit;  // closed

    // Left of each mask when the masks meet over the flag, and when they stand aside.
    float masqueGaucheFerme() const;
    float masqueDroitFerme() const;
    float masqueGaucheOuvert() const;
    float masqueDroitOuvert() const;
};
