#include "app/BureauQt.h"

#include "app/FenetreAide.h"
#include "core/Plateforme.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QUrl>

BureauQt::BureauQt(const Plateforme &plateforme)
    : plateforme_(plateforme)
{
}

BureauQt::~BureauQt() = default;

void BureauQt::afficherMessage(const QString &titre, const QString &texte)
{
    QMessageBox boite(QMessageBox::Critical, titre, texte, QMessageBox::Ok,
                      QApplication::activeWindow());
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
