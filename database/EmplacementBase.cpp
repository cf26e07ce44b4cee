#include "database/EmplacementBase.h"

#include "core/Plateforme.h"
#include "database/Disque.h"
#include "database/MiseAJourCopie.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString EmplacementBase::choisirFichier(const Plateforme &plateforme, const QString &chemin)
{
    const QString livre = chemin + nomFichier();
    // A missing shipped file stays the one named: the first question reports it, as before.
    if (!QFileInfo(livre).isFile())
        return livre;
    // Root may write an installed file: permissions cannot be what decides there.
    if (!plateforme.estInstalle() && plateforme.fichierModifiable(livre))
        return livre;

    const QString dossier = plateforme.dossierDonnees();
    if (dossier.isEmpty())
        return livre;
    const QString copie = QDir(dossier).filePath(nomFichier());
    // Made at an earlier start, it holds the player's scores: never replaced, only given the
    // flags of a newer shipped file. That failing, the game plays on the flags it has.
    if (QFileInfo::exists(copie)) {
        MiseAJourCopie miseAJour(livre, copie);
        if (miseAJour.necessaire() && !miseAJour.executer())
            qWarning("%s", qUtf8Printable(miseAJour.erreur()));
        return copie;
    }
    // Whole or absent: a copy cut short leaves nothing under this name. Without a copy the
    // game still plays, and a score that cannot be stored is reported as such.
    if (!QDir().mkpath(dossier) || !Disque::copier(livre, copie).isEmpty())
        return livre;
    // The copy takes the shipped file's permission bits, which may forbid writing.
    QFile::setPermissions(copie, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
                                     | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    return copie;
}

bool EmplacementBase::lectureSeule(const Plateforme &plateforme, const QString &chemin,
                                   const QString &fichier)
{
    return plateforme.estInstalle() && fichier == chemin + nomFichier();
}
