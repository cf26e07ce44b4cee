#pragma once

#include <QLabel>

// A caption made of a prefix and a value, read as one text, whose value is drawn from a column
// shared with other captions: blanks padding the prefixes line the values up in one font only.
class LibelleAligne : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    void setLegende(const QString &prefixe, const QString &valeur);
    // Draws every label's value from the first x clear of all their prefixes.
    static void aligner(const QList<LibelleAligne *> &libelles);

protected:
    void paintEvent(QPaintEvent *evenement) override;

private:
    QString prefixe() const;
    QString valeur() const;

    qsizetype longueurPrefixe_ = 0;
    int colonne_ = 0;
};
