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

#include <algorithm>

BureauQt::BureauQt(const Plateforme &plateforme)
    : plateforme_(plateforme)
{
}

BureauQt::~BureauQt() = default;

namespace {

// The window a message belongs to: the one the player is using, or, where the window system
// has not told which (a Wayland compositor without a keyboard), the main window.
QWidget *fenetreDuMessage()
{
    if (QWidget *fenetre = QApplication::activeModalWidget())
        return fenetre;
    if (QWidget *fenetre = QApplication::activeWindow())
        return fenetre;
    const QWidgetList fenetres = QApplication::topLevelWidgets();
    const auto principale = std::find_if(fenetres.begin(), fenetres.end(), [](QWidget *fenetre) {
        return fenetre->isVisible() && qobject_cast<QMainWindow *>(fenetre);
    });
    return principale != fenetres.end() ? *principale : nullptr;
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
    const bool estAdresse = adresse.isValid() && adresse.scheme().size() > 1;
    QDesktopServices::openUrl(
        estAdresse ? adresse
                   : QUrl::fromLocalFile(QDir(plateforme_.dossierFichiers()).filePath(texte)));
}

void BureauQt::afficherAide(const QString &fichier)
{
    if (!aide_)
        aide_ = std::make_unique<FenetreAide>();
    aide_->ouvrir(fichier);
}
