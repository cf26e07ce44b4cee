#include "database/FichierNeuf.h"

#include "database/Disque.h"

#include <QFile>
#include <QTemporaryFile>

FichierNeuf::FichierNeuf(const QString &modele)
{
    // QTemporaryFile makes the name safely; it closes its file only as it goes.
    QTemporaryFile fichier(modele);
    fichier.setAutoRemove(false);
    if (fichier.open())
        nom_ = fichier.fileName();
    else
        erreur_ = fichier.errorString();
}

FichierNeuf::~FichierNeuf()
{
    if (!enPlace_ && !nom_.isEmpty())
        QFile::remove(nom_);
}

QString FichierNeuf::mettreEnPlace(const QString &ancien)
{
    const QString panne = Disque::remplacer(nom_, ancien);
    enPlace_ = panne.isEmpty();
    return panne;
}
