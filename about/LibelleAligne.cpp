#include "about/LibelleAligne.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

void LibelleAligne::setLegende(const QString &prefixe, const QString &valeur)
{
    // The whole text stays the label's, as screen readers read it.
    longueurPrefixe_ = prefixe.size();
    colonne_ = fontMetrics().horizontalAdvance(prefixe);
    setText(prefixe + valeur);
}

QString LibelleAligne::prefixe() const
{
    return text().left(longueurPrefixe_);
}

QString LibelleAligne::valeur() const
{
    return text().mid(longueurPrefixe_);
}

void LibelleAligne::aligner(const QList<LibelleAligne *> &libelles)
{
    int colonne = 0;
    for (const LibelleAligne *libelle : libelles) {
        // The padding dropped but one blank, as the shortest padding leaves it.
        QString prefixe = libelle->prefixe();
        while (prefixe.endsWith(u"  "))
            prefixe.chop(1);
        colonne = std::max(colonne, libelle->fontMetrics().horizontalAdvance(prefixe));
    }
    for (LibelleAligne *libelle : libelles) {
        libelle->colonne_ = colonne;
        libelle->update();
    }
}

void LibelleAligne::paintEvent(QPaintEvent *evenement)
{
    Q_UNUSED(evenement)
    QPainter peintre(this);
    const QRect zone = contentsRect();
    style()->drawItemText(&peintre, zone, alignment(), palette(), isEnabled(), prefixe(),
                          foregroundRole());
    style()->drawItemText(&peintre, zone.adjusted(colonne_, 0, 0, 0), alignment(), palette(),
                          isEnabled(), valeur(), foregroundRole());
}
