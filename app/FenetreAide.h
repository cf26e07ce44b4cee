#pragma once

#include <QTextBrowser>

// The help viewer: a window of its own that shows the help file, or says why it cannot.
class FenetreAide : public QTextBrowser
{
    Q_OBJECT

public:
    explicit FenetreAide(QWidget *parent = nullptr);

    void ouvrir(const QString &fichier);
};
