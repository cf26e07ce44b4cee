#include "quiz/Param.h"

#include <QDir>

QString Param::formerChemin(const QString &dossier)
{
    QString chemin = QDir::toNativeSeparators(dossier);
    if (!chemin.endsWith(QDir::separator()))
        chemin += QDir::separator();
    return chemin;
}

QString Param::formerVersion(int majeur, int mineur)
{
    return QString::number(majeur) + u'.' + QString::number(mineur);
}

QString Param::formerDate(const QDateTime &horodatage)
{
    // The time is always written, midnight included, so the text always has its 18 characters.
    return horodatage.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" à ")
           + horodatage.toString(QStringLiteral("HH:mm"));
}
