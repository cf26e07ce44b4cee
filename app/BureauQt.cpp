#include "app/BureauQt.h"

#include "app/FenetreAide.h"
#include "core/Plateforme.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QMainWindow>
#include <QMessageBox>
#include <QUrl>
#include <QWindow>

#include <algorithm>

BureauQt::BureauQt(const Plateforme &plateforme)
    : plateforme_(plateforme)
{
}

BureauQt::~BureauQt() = default;

namespace {

QWidget *fenetrePrincipale()
{
    const QWidgetList fenetres = QApplication::topLevelWidgets();
    const auto principale = std::find_if(fenetres.begin(), fenetres.end(), [](QWidget *fenetre) {
        return fenetre->isVisible() && qobject_cast<QMainWindow *>(fenetre);
    });
    return principale != fenetres.end() ? *principale : nullptr;
}

// The window a message belongs to: the one the player is using, or, where the window system
// has not told which (a Wayland compositor without a keyboard), the main window.
QWidget *fenetreDuMessage()
{
    if (QWidget *fenetre = QApplication::activeModalWidget())
        return fenetre;
    if (QWidget *fenetre = QApplication::activeWindow())
        return fenetre;
    return fenetrePrincipale();
}

// The help window opens over the middle of the main window, below its title bar, and no larger
// than its inside.
void placerSurLaFenetrePrincipale(QWidget &aide, const QWidget &principale)
{
    const QRect interieur = principale.geometry();
    const QSize taille = aide.size().boundedTo(interieur.size() * 0.9);
    QRect place(QPoint(), taille);
    place.moveCenter(interieur.center());
    aide.resize(taille);
    aide.move(place.topLeft());
}

} // namespace

void BureauQt::afficherMessage(const QString &titre, const QString &texte)
{
    QMessageBox boite(QMessageBox::Critical, titre, texte, QMessageBox::Ok, fenetreDuMessage());
    boite.exec();
}

int BureauQt::executerFenetre(QDialog &fenetre)
{
    return fenetre.exec();
}

void BureauQt::ouvrirDocument(const QString &texte)
{
    // Bare names are documents among the game's files; anything with a scheme is an address.
    const QUrl adresse(texte);
    if (adresse.isValid() && adresse.scheme().size() > 1) {
        QDesktopServices::openUrl(adresse);
        return;
    }
    const QString fichier = QDir(plateforme_.dossierFichiers()).filePath(texte);
    // A help file is the help viewer's, which is the game's own window here: the desktop knows
    // .hlp only as a Windows help file, and opens nothing.
    if (texte.endsWith(u".hlp", Qt::CaseInsensitive))
        afficherAide(fichier);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(fichier));
}

void BureauQt::afficherAide(const QString &fichier)
{
    if (!aide_)
        aide_ = std::make_unique<FenetreAide>();
    if (!aide_->isVisible()) {
        if (const QWidget *principale = fenetrePrincipale())
            placerSurLaFenetrePrincipale(*aide_, *principale);
    }
    rattacherAide();
    aide_->ouvrir(fichier);
}

void BureauQt::rattacherAide()
{
    // The help belongs to the window it was asked from: the window system keeps it over that
    // one, and a modal window (the About box) does not block it.
    QWidget *proprietaire = fenetreDuMessage();
    if (!proprietaire || proprietaire == aide_.get())
        return;
    aide_->winId();
    proprietaire->winId();
    aide_->windowHandle()->setTransientParent(proprietaire->windowHandle());
}
