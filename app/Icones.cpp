#include "app/Icones.h"

QIcon Icones::programme()
{
    // Decoded once: every window shares it.
    static const QIcon icone = [] {
        QIcon resultat;
        for (const int cote : {16, 24, 32, 48, 64, 128})
            resultat.addFile(QStringLiteral(":/icone-%1.png").arg(cote), QSize(cote, cote));
        return resultat;
    }();
    return icone;
}
