#include "tests/support/PlateformeFactice.h"

#include <QDialog>

void PlateformeFactice::afficherMessage(const QString &titre, const QString &texte)
{
    messages.append({titre, texte});
    if (pendantMessage)
        pendantMessage(messages.constLast());
}

int PlateformeFactice::executerFenetre(QDialog &fenetre)
{
    fenetres.append(fenetre.objectName());
    return pendantFenetre ? pendantFenetre(fenetre) : QDialog::Rejected;
}

void PlateformeFactice::ouvrirDocument(const QString &texte)
{
    documents.append(texte);
}

void PlateformeFactice::afficherAide(const QString &fichier)
{
    aides.append(fichier);
}

void PlateformeFactice::traiterEvenements()
{
    ++traitements;
    if (pendantTraitement)
        pendantTraitement();
}

bool PlateformeFactice::patienter(std::chrono::milliseconds duree)
{
    attentes.append(duree);
    const qsizetype finsAvant = fins.size();
    traiterEvenements();
    horloge = horloge.addDuration(duree);
    return fins.size() == finsAvant;
}

void PlateformeFactice::terminer(int statut)
{
    fins.append(statut);
}
