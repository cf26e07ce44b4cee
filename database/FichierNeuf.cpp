#include "database/FichierNeuf.h"

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
    if (!garde_ && !nom_.isEmpty())
        QFile::remove(nom_);
}
