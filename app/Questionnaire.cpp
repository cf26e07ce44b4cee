#include "app/Questionnaire.h"

#include "about/Apropos.h"
#include "app/BarreEtat.h"
#include "core/InfosVersion.h"
#include "core/Plateforme.h"
#include "core/Twips.h"
#include "database/EmplacementBase.h"
#include "scores/Enregistre.h"
#include "scores/Scores.h"
#include "widgets/Bouton3D.h"
#include "widgets/Bureau.h"
#include "widgets/Cadre3D.h"
#include "widgets/Icones.h"
#include "widgets/Illustration.h"
#include "widgets/Panneau3D.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr QColor grisPanneau(192, 192, 192);

struct BoutonCommande
{
    const char *cle;
    const char *image;
    const char *infobulle;
};

// Left to right; an empty key is a separator.
constexpr BoutonCommande boutonsCommande[] = {
    {"", nullptr, nullptr},
    {"NouvellePartie", ":/carte", "Lancer une nouvelle partie"},
    {"Scores", ":/liste", "Affichage des 10 meilleurs scores"},
    {"", nullptr, nullptr},
    {"Quitter", ":/porte", "Quitter"},
    {"", nullptr, nullptr},
    {"Apropos", ":/ampoule", "A propos !"},
    {"Aide", ":/livre-aide", "Un peu d'aide ?"},
};

Panneau3D *creerCompteur(const char *nom, const QColor &couleurTexte, QWidget *parent)
{
    auto *compteur = new Panneau3D(parent);
    compteur->setObjectName(QLatin1String(nom));
    compteur->setCouleurFond(grisPanneau);
    compteur->setCouleurTexte(couleurTexte);
    compteur->setBiseauExterieur(Panneau3D::Biseau::Enfonce);
    compteur->setBiseauInterieur(Panneau3D::Biseau::Releve);
    compteur->setLargeurBordure(3);
    compteur->setAlignement(Qt::AlignCenter);
    return compteur;
}

Panneau3D *creerMasque(const char *nom, const char *nomDessin, const QString &image,
                       const QRectF &placeImage, QWidget *parent)
{
    auto *masque = new Panneau3D(parent);
    masque->setObjectName(QLatin1String(nom));
    masque->setCouleurFond(grisPanneau);
    masque->setBiseauExterieur(Panneau3D::Biseau::Aucun);
    masque->setBiseauInterieur(Panneau3D::Biseau::Aucun);
    masque->setLargeurBordure(3);
    auto *dessin = new Illustration(image, masque);
    dessin->setObjectName(QLatin1String(nomDessin));
    dessin->setGeometry(Twips::rectangle(placeImage));
    return masque;
}

} // namespace

Questionnaire::Questionnaire(Plateforme &plateforme, Bureau &bureau, quint32 graine,
                             QWidget *parent)
    : QMainWindow(parent)
    , plateforme_(plateforme)
    , bureau_(bureau)
    , hasard_(graine)
    , partie_(param_, plateforme, hasard_)
{
    setObjectName(QStringLiteral("Questionnaire"));
    setWindowIcon(Icones::programme());
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(8.25);
    police.setBold(true);
    setFont(police);
    // The design is a fixed arrangement: keep the toolbar where it is and always shown.
    setContextMenuPolicy(Qt::NoContextMenu);
    resize(Twips::enPixels(11880), Twips::enPixels(8250));
    creerControles();
    connect(&partie_, &Partie::affichageChange, this, &Questionnaire::refleterPartie);
    connect(&partie_, &Partie::messageDemande, this,
            [this](const QString &titre, const QString &texte) {
                bureau_.afficherMessage(titre, texte);
            });
    connect(&partie_, &Partie::enregistrementDemande, this, &Questionnaire::ouvrirEnregistrement);

    auto *aide = new QShortcut(QKeySequence::HelpContents, this);
    aide->setContext(Qt::WindowShortcut);
    connect(aide, &QShortcut::activated, this, &Questionnaire::ouvrirAide);
}

Questionnaire::~Questionnaire() = default;

void Questionnaire::creerControles()
{
    // The status bar first: it loads the fonts, while the session bus that the toolbar's named
    // buttons will need for accessibility is still being connected (main.cpp).
    Barre = new BarreEtat(plateforme_, this);
    Barre->setObjectName(QStringLiteral("Barre"));
    setStatusBar(Barre);
    creerBarreBoutons();

    auto *centre = new QWidget(this);
    setCentralWidget(centre);
    creerBoiteImage(centre);
    creerBoiteBoutons(centre);
}

void Questionnaire::creerBarreBoutons()
{
    BarreBoutons = new QToolBar(this);
    BarreBoutons->setObjectName(QStringLiteral("BarreBoutons"));
    BarreBoutons->setMovable(false);
    BarreBoutons->setFloatable(false);
    BarreBoutons->setIconSize(QSize(32, 32));
    BarreBoutons->setToolButtonStyle(Qt::ToolButtonIconOnly);
    BarreBoutons->setFixedHeight(Twips::enPixels(Disposition::hauteurBarreBoutons));
    addToolBar(Qt::TopToolBarArea, BarreBoutons);

    for (const BoutonCommande &bouton : boutonsCommande) {
        if (!bouton.image) {
            BarreBoutons->addSeparator();
            continue;
        }
        const QString infobulle = QString::fromUtf8(bouton.infobulle);
        QAction *action =
            BarreBoutons->addAction(Icones::image(QLatin1String(bouton.image)), infobulle);
        action->setToolTip(infobulle);
        action->setData(QLatin1String(bouton.cle));
        action->setObjectName(QLatin1String(bouton.cle));
        BarreBoutons->widgetForAction(action)->setFixedSize(Twips::enPixels(585),
                                                            Twips::enPixels(570));
    }
    connect(BarreBoutons, &QToolBar::actionTriggered, this,
            [this](QAction *action) { BarreBoutons_ButtonClick(action->data().toString()); });
}

void Questionnaire::creerBoiteImage(QWidget *centre)
{
    BoiteImage = new Cadre3D(centre);
    BoiteImage->setObjectName(QStringLiteral("BoiteImage"));

    SupportImage = new Panneau3D(BoiteImage);
    SupportImage->setObjectName(QStringLiteral("SupportImage"));
    SupportImage->setCouleurFond(grisPanneau);
    SupportImage->setBiseauExterieur(Panneau3D::Biseau::Releve);
    SupportImage->setBiseauInterieur(Panneau3D::Biseau::Aucun);
    SupportImage->setLargeurBordure(3);

    Dessin1 = new QLabel(SupportImage);
    Dessin1->setObjectName(QStringLiteral("Dessin1"));
    Dessin1->setScaledContents(true);
    // Naming the flag after its country would give the answer away to a screen reader.
    Dessin1->setAccessibleName(QStringLiteral("Drapeau"));

    MasqueGauche = creerMasque("MasqueGauche", "Dessin3", QStringLiteral(":/temple-gauche"),
                               {600, 0, 1605, 1935}, BoiteImage);
    MasqueDroit = creerMasque("MasqueDroit", "Dessin2", QStringLiteral(":/temple-droit"),
                              {0, 0, 1605, 1935}, BoiteImage);
}

void Questionnaire::creerBoiteBoutons(QWidget *centre)
{
    BoiteBoutons = new Cadre3D(centre);
    BoiteBoutons->setObjectName(QStringLiteral("BoiteBoutons"));

    Resultat = creerCompteur("Resultat", QColor(255, 0, 0), BoiteBoutons);
    Score = creerCompteur("Score", QColor(255, 0, 255), BoiteBoutons);
    ComptePartie = creerCompteur("ComptePartie", QColor(192, 0, 0), BoiteBoutons);
    placer(Resultat, {120, 240, 2655, 615});
    placer(Score, {120, 1080, 2655, 615});
    placer(ComptePartie, {120, 1920, 2655, 615});

    for (std::size_t i = 0; i < Reponses.size(); ++i) {
        auto *reponse = new Bouton3D(BoiteBoutons);
        reponse->setObjectName(QStringLiteral("Reponse0%1").arg(i + 1));
        reponse->setCouleurTexte(QColor(0, 0, 255));
        reponse->setEnabled(false);
        placer(reponse, {3000, 240 + 840.0f * static_cast<float>(i), 4815, 615});
        Reponses[i] = reponse;
    }
    connect(Reponses[0], &QPushButton::clicked, this, &Questionnaire::Reponse01_Click);
    connect(Reponses[1], &QPushButton::clicked, this, &Questionnaire::Reponse02_Click);
    connect(Reponses[2], &QPushButton::clicked, this, &Questionnaire::Reponse03_Click);
    setTabOrder(Reponses[0], Reponses[1]);
    setTabOrder(Reponses[1], Reponses[2]);
}

bool Questionnaire::Form_Load()
{
    const QString produit = InfosVersion::ProductName.toString();
    if (plateforme_.autreCopieEnCours()) {
        bureau_.afficherMessage(produit, QStringLiteral("L'application est déjà en mémoire !!"
                                                        "\n\nUtiliser la barre des taches"));
        plateforme_.terminer(0);
        return false;
    }
    param_.Chemin = Param::formerChemin(plateforme_.dossierFichiers());
    fichierAide_ = param_.Chemin + QStringLiteral("Pavoria.hlp");
    param_.FichierBase = EmplacementBase::choisirFichier(plateforme_, param_.Chemin);
    param_.BaseLectureSeule =
        EmplacementBase::lectureSeule(plateforme_, param_.Chemin, param_.FichierBase);
    param_.DateAppli = Param::formerDate(plateforme_.horodatageProgramme());
    param_.VersionAppli = Param::formerVersion(InfosVersion::Major, InfosVersion::Minor);
    setWindowTitle(produit + u' ' + param_.VersionAppli);
    Barre->setTextePrincipal(produit + QStringLiteral("  -  Version ") + param_.VersionAppli);
    MasqueGauche->raise();
    MasqueDroit->raise();
    disposerFenetre();

    const std::array<QWidget *, 6> policesArial{Resultat,    Score,       ComptePartie,
                                                Reponses[0], Reponses[1], Reponses[2]};
    for (QWidget *controle : policesArial) {
        QFont police = controle->font();
        police.setFamily(QStringLiteral("Arial"));
        controle->setFont(police);
    }
    for (QWidget *controle : policesArial) {
        QFont police = controle->font();
        police.setPointSize(16);
        controle->setFont(police);
    }
    partie_.viderCompteurs();
    return true;
}

void Questionnaire::disposerFenetre()
{
    const QScreen *ecran = screen() ? screen() : QGuiApplication::primaryScreen();
    // The window opens maximized: its outer height is the screen's free area.
    disposition_ = Disposition::calculer(Twips::depuisPixels(ecran->geometry().width()),
                                         Twips::depuisPixels(ecran->availableGeometry().height()));
    placerDansFenetre(BoiteBoutons, disposition_.boiteBoutons);
    placerDansFenetre(BoiteImage, disposition_.boiteImage);
    placer(SupportImage, disposition_.supportImage);
    placer(Dessin1, disposition_.dessin1);
    placer(MasqueGauche, disposition_.masqueGauche);
    placer(MasqueDroit, disposition_.masqueDroit);
}

void Questionnaire::placer(QWidget *controle, const QRectF &twips) const
{
    controle->setGeometry(Twips::rectangle(twips));
}

void Questionnaire::placerDansFenetre(QWidget *controle, const QRectF &twips) const
{
    // Window coordinates count the toolbar; the central widget starts below it.
    placer(controle, twips.translated(0, -Disposition::hauteurBarreBoutons));
}

void Questionnaire::placerMasques(bool fermes)
{
    const float gauche =
        fermes ? disposition_.masqueGaucheFerme() : disposition_.masqueGaucheOuvert();
    const float droite =
        fermes ? disposition_.masqueDroitFerme() : disposition_.masqueDroitOuvert();
    MasqueGauche->move(Twips::enPixels(gauche), MasqueGauche->y());
    MasqueDroit->move(Twips::enPixels(droite), MasqueDroit->y());
}

void Questionnaire::refleterPartie()
{
    const Affichage &affichage = partie_.affichage();
    for (std::size_t i = 0; i < Reponses.size(); ++i) {
        Reponses[i]->setText(affichage.reponses[i]);
        Reponses[i]->setEnabled(affichage.reponsesActives[i]);
    }
    Resultat->setLegende(affichage.resultat);
    Score->setLegende(affichage.score);
    ComptePartie->setLegende(affichage.comptePartie);
    placerMasques(affichage.masquesFermes);
    if (affichage.drapeau.cacheKey() != cleDrapeau_) {
        cleDrapeau_ = affichage.drapeau.cacheKey();
        if (affichage.drapeau.isNull())
            Dessin1->clear();
        else
            Dessin1->setPixmap(QPixmap::fromImage(affichage.drapeau));
    }
}

void Questionnaire::closeEvent(QCloseEvent *evenement)
{
    evenement->accept();
    Form_QueryUnload();
}

void Questionnaire::Form_QueryUnload()
{
    plateforme_.terminer(0);
}

void Questionnaire::BarreBoutons_ButtonClick(const QString &cle)
{
    if (cle == u"NouvellePartie")
        partie_.NouvellePartie();
    else if (cle == u"Scores")
        ouvrirScores();
    else if (cle == u"Quitter")
        plateforme_.terminer(0);
    else if (cle == u"Apropos")
        ouvrirApropos();
    else if (cle == u"Aide")
        ouvrirAide();
}

void Questionnaire::Reponse01_Click()
{
    partie_.Repondre(1);
}

void Questionnaire::Reponse02_Click()
{
    partie_.Repondre(2);
}

void Questionnaire::Reponse03_Click()
{
    partie_.Repondre(3);
}

void Questionnaire::ouvrirEnregistrement()
{
    Enregistre fenetre(param_, plateforme_, bureau_, this);
    bureau_.executerFenetre(fenetre);
}

void Questionnaire::ouvrirScores()
{
    Scores fenetre(param_);
    if (!fenetre.Form_Load()) {
        bureau_.afficherMessage(Param::titreMessages(), fenetre.erreur());
        plateforme_.terminer(1);
        return;
    }
    bureau_.executerFenetre(fenetre);
}

void Questionnaire::ouvrirApropos()
{
    Apropos fenetre(param_, plateforme_, bureau_);
    bureau_.executerFenetre(fenetre);
}

void Questionnaire::ouvrirAide()
{
    bureau_.afficherAide(fichierAide_);
}
