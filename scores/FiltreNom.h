#pragma once

#include <QValidator>

// The name box's key filter: every character typed or pasted becomes its upper-case form,
// one character for one (a becomes A, é becomes É, ß stays ß); control characters and line
// breaks, which the box cannot show, are left out; and the box holds at most a given number
// of characters as the player sees them, a letter with its accents or a character outside
// the Basic Multilingual Plane counting once. What is typed or pasted beyond it is not taken.
class FiltreNom : public QValidator
{
    Q_OBJECT

public:
    explicit FiltreNom(int longueurMaximale, QObject *parent = nullptr);

    State validate(QString &texte, int &position) const override;

    static QString enMajuscules(const QString &texte);
    static int longueurVisible(const QString &texte);

private:
    int longueurMaximale_;
};
