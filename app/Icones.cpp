#include "app/Icones.h"

QIcon Icones::programme()
{
    QIcon icone;
    for (const int cote : {16, 24, 32, 48, 64, 128})
        icone.addFile(QStringLiteral(":/icone-%1.png").arg(cote), QSize(cote, cote));
    return icone;
}
