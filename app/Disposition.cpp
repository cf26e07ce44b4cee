#include "app/Disposition.h"

namespace {

float f(qreal valeur)
{
    return static_cast<float>(valeur);
}

} // namespace

Disposition Disposition::calculer(float largeurEcran, float hauteurFenetre)
{
    Disposition d{boiteImageDessin, boiteBoutonsDessin, supportImageDessin,
                  dessin1Dessin,    masqueGaucheDessin, masqueDroitDessin};

    d.boiteBoutons.moveLeft((largeurEcran - f(d.boiteBoutons.width())) / 2);
    d.boiteImage.moveLeft((largeurEcran - f(d.boiteImage.width())) / 2);

    d.supportImage.moveLeft((f(d.boiteImage.width()) - f(d.supportImage.width())) / 2);
    d.dessin1.moveLeft((f(d.supportImage.width()) - f(d.dessin1.width())) / 2);
    d.dessin1.moveTop((f(d.supportImage.height()) - f(d.dessin1.height())) / 2);

    d.masqueGauche.moveLeft(f(d.supportImage.left()) + f(d.supportImage.width()) / 2
                            - f(d.masqueGauche.width()));
    d.masqueDroit.moveLeft(f(d.boiteImage.width()) / 2);

    const float bandes =
        hauteurBarreBoutons + f(d.boiteImage.height()) + f(d.boiteBoutons.height()) + hauteurBarre;
    const float ecart = (hauteurFenetre - bandes) / 3;
    d.boiteImage.moveTop(hauteurBarreBoutons + ecart);
    d.boiteBoutons.moveTop(hauteurBarreBoutons + ecart + f(d.boiteImage.height()) + ecart);
    return d;
}

float Disposition::masqueGaucheFerme() const
{
    return f(supportImage.left()) + f(supportImage.width()) / 2 - f(masqueGauche.width());
}

float Disposition::masqueDroitFerme() const
{
    return f(supportImage.left()) + f(supportImage.width()) / 2;
}

float Disposition::masqueGaucheOuvert() const
{
    return f(boiteImage.width()) / 2 - f(masqueGauche.width()) - f(supportImage.width()) / 2;
}

float Disposition::masqueDroitOuvert() const
{
    return f(boiteImage.width()) / 2 + f(supportImage.width()) / 2;
}
