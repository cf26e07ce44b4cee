#include "scores/FiltreNom.h"

#include <QTextBoundaryFinder>

namespace {

// Characters the box cannot show as themselves (it draws them as blanks, or they would break
// the line of the top-ten grid): they reach it only by pasting, and never make a name.
bool estInvisible(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return true;
    default: return codePoint == 0xfffc; // the object replacement character
    }
}

} // namespace

FiltreNom::FiltreNom(int longueurMaximale, QObject *parent)
    : QValidator(parent)
    , longueurMaximale_(longueurMaximale)
{
}

QValidator::State FiltreNom::validate(QString &texte, int &position) const
{
    // The text before the cursor and after it are filtered apart, so that the cursor stays
    // just after what was typed or pasted.
    QString avant = enMajuscules(texte.left(position));
    const QString apres = enMajuscules(texte.mid(position));
    // As a box with a maximum length does, keep of what was just typed or pasted (it ends at
    // the cursor) only what fits, one character as the player sees it at a time.
    while (longueurVisible(avant + apres) > longueurMaximale_ && !avant.isEmpty()) {
        QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, avant);
        limites.toEnd();
        avant.truncate(limites.toPreviousBoundary());
    }
    texte = avant + apres;
    position = static_cast<int>(avant.size());
    return longueurVisible(texte) <= longueurMaximale_ ? Acceptable : Invalid;
}

QString FiltreNom::enMajuscules(const QString &texte)
{
    QString resultat;
    resultat.reserve(texte.size());
    // The simple case mapping never turns one character into several, unlike QString::toUpper.
    for (const char32_t codePoint : texte.toUcs4()) {
        if (estInvisible(codePoint))
            continue;
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
