#include "scores/Enregistre.h"

#include "core/Plateforme.h"
#include "core/Twips.h"
#include "quiz/Param.h"
#include "scores/FiltreNom.h"
#include "widgets/Apparence.h"
#include "widgets/Bouton3D.h"
#include "widgets/Bureau.h"
#include "widgets/Illustration.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// A file that must not be written is opened as the readers open it: the score is then refused
// as by a read-only file, and reported so.
ControleDonnees::Acces accesScores(const Param &param)
{
    return param.BaseLectureSeule ? ControleDonnees::Acces::Lecture
                                  : ControleDonnees::Acces::Ecriture;
}

} // namespace

Enregistre::Enregistre(const Param &param, const Plateforme &plateforme, Bureau &bureau,
                       QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , param_(param)
    , plateforme_(plateforme)
    , bureau_(bureau)
    , DataScores(QStringLiteral("Enregistre.DataScores"), accesScores(param))
{
    setObjectName(QStringLiteral("Enregistre"));
    setWindowTitle(Apparence::titreVide());
    setFixedSize(Twips::rectangle(0, 0, 9240, 6600).size());

    // The prompt exists only in the picture.
    auto *fond = new Illustration(QStringLiteral(":/accordeoniste"), this);
    fond->setGeometry(rect());

    SaisieNom = new QLineEdit(this);
    SaisieNom->setObjectName(QStringLiteral("SaisieNom"));
    SaisieNom->setGeometry(Twips::rectangle(960, 2640, 4695, 615));
    QFont police(QStringLiteral("Arial"));
    police.setPointSizeF(22.5);
    police.setBold(true);
    SaisieNom->setFont(police);
    QPalette couleurs = SaisieNom->palette();
    couleurs.setColor(QPalette::Text, QColor(0, 0, 255));
    couleurs.setColor(QPalette::Base, Qt::white);
    SaisieNom->setPalette(couleurs);
    SaisieNom->setValidator(new FiltreNom(longueurNom, SaisieNom));
    SaisieNom->setAccessibleName(QStringLiteral("Entrez votre nom"));

    Valider = new Bouton3D(QStringLiteral("&Valider"), this);
    Valider->setObjectName(QStringLiteral("Valider"));
    Valider->setGeometry(Twips::rectangle(8040, 5640, 1095, 375));
    Annuler = new Bouton3D(QStringLiteral("&Annuler"), this);
    Annuler->setObjectName(QStringLiteral("Annuler"));
    Annuler->setGeometry(Twips::rectangle(8040, 6120, 1095, 375));
    setTabOrder(SaisieNom, Valider);
    setTabOrder(Valider, Annuler);
    SaisieNom->setFocus();

    connect(Valider, &QPushButton::clicked, this, &Enregistre::Valider_Click);
    connect(Annuler, &QPushButton::clicked, this, &Enregistre::Annuler_Click);
}

void Enregistre::keyPressEvent(QKeyEvent *evenement)
{
    // Neither button is the default or the cancel button: Enter and Escape press neither.
    switch (evenement->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: evenement->accept(); return;
    default: QDialog::keyPressEvent(evenement);
    }
}

void Enregistre::closeEvent(QCloseEvent *evenement)
{
    // Closing from the title bar cancels, as Annuler does.
    SaisieNom->clear();
    QDialog::closeEvent(evenement);
}

void Enregistre::Valider_Click()
{
    if (SaisieNom->text().isEmpty()) {
        bureau_.afficherMessage(Param::titreMessages(),
                                QStringLiteral("Saisissez au moins une lettre !!!"));
        SaisieNom->setFocus();
        return;
    }
    enregistrerScore();
    fermerDialogue();
}

void Enregistre::enregistrerScore()
{
    if (!DataScores.ouvrirScores(param_.FichierBase)) {
        signalerEchec();
        return;
    }
    const std::optional<int> plusPetit = DataScores.plusPetitScore();
    if (!plusPetit) {
        signalerEchec();
    } else if (param_.Points > *plusPetit) {
        if (!DataScores.remplacerPlusPetitScore(SaisieNom->text(), param_.Points,
                                                plateforme_.maintenant().date()))
            signalerEchec();
    } else if (param_.Points < *plusPetit) {
        refuserScore(QStringLiteral("inférieur"));
    } else {
        refuserScore(QStringLiteral("égal"));
    }
    DataScores.fermer();
}

void Enregistre::refuserScore(const QString &comparaison)
{
    bureau_.afficherMessage(Param::titreMessages(),
                            QStringLiteral("Désolé, ") + SaisieNom->text()
                                + QStringLiteral(",\n\nvotre score est ") + comparaison
                                + QStringLiteral(" au plus petit score enregistré !!!"
                                                 "\n\nVous ne pouvez être classé."));
}

void Enregistre::signalerEchec()
{
    // The game goes on; the table is left as it was.
    bureau_.afficherMessage(Param::titreMessages(),
                            QStringLiteral("Votre score n’a pas pu être enregistré.\n\n")
                                + DataScores.erreur());
}

void Enregistre::Annuler_Click()
{
    SaisieNom->clear();
    reject();
}

void Enregistre::fermerDialogue()
{
    SaisieNom->clear();
    accept();
}
