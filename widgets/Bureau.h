#pragma once

#include <QString>

class QDialog;

// What the windows ask of the desktop, behind one seam so that no test blocks on a modal window:
// message boxes, modal windows, the desktop's openers and the help window. The real one lives
// with the main window (app/BureauQt); the tests have a recording fake.
class Bureau
{
public:
    virtual ~Bureau() = default;

    // A modal message box with the critical icon and one OK button.
    virtual void afficherMessage(const QString &titre, const QString &texte) = 0;
    // Shows the window modally and returns once it has closed.
    virtual int executerFenetre(QDialog &fenetre) = 0;
    // Hands a file name, a mailto: or a web address to the desktop; failure is ignored.
    virtual void ouvrirDocument(const QString &texte) = 0;
    virtual void afficherAide(const QString &fichier) = 0;
};
