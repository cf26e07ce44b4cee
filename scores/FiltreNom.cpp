#include "scores/FiltreNom.h"

#include <QTextBoundaryFinder>

FiltreNom::FiltreNom(int longueurMaximale, QObject *parent)
    : QValidator(parent)
    , longueurMaximale_(longueurMaximale)
{
}

QValidator::State FiltreNom::validate(QString &texte, int &position) const
{
    // Upper-casing one code point for one keeps the length, so the cursor stays put.
    texte = enMajuscules(texte);
    Q_UNUSED(position);
    return longueurVisible(texte) <= longueurMaximale_ ? Acceptable : Invalid;
}

QString FiltreNom::enMajuscules(const QString &texte)
{
    QString resultat;
    resultat.reserve(texte.size());
    // The simple case mapping never turns one character into several, unlike QString::toUpper.
    for (const char32_t codePoint : texte.toUcs4()) {
        const char32_t majuscule = QChar::toUpper(codePoint);
        resultat.append(QString::fromUcs4(&majuscule, 1));
    }
    return resultat;
}

int FiltreNom::longueurVisible(const QString &texte)
{
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, texte);
    int graphemes = 0;
    while (limites.toNextBoundary() > 0)
        ++graphemes;
    return graphemes;
}
