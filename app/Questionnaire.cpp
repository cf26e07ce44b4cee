#include "app/Questionnaire.h"

#include "about/Apropos.h"
#include "app/BarreEtat.h"
#include "core/InfosVersion.h"
#include "core/Plateforme.h"
#include "core/Twips.h"
#include "database/EmplacementBase.h"
#include "scores/Enregistre.h"
#include "scores/Scores.h"
#include "widgets/Apparence.h"
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
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

constexpr QColor grisPanneau(192, 192, 192);

struct BoutonCommande
{
    const char *cle;
    const char *image;
    const char *infobulle;
    // The desktop's own keys for the command, if it has a standard one, and the key the help
    // file tells, which every desktop gets.
    QKeySequence::StandardKey toucheStandard;
    QKeyCombination touche;
};

// Left to right; an empty key is a separator. The keys are written in the help file.
constexpr BoutonCommande boutonsCommande[] = {
    {"", nullptr, nullptr, {}, {}},
    {"NouvellePartie", ":/carte", "Lancer une nouvelle partie", QKeySequence::New,
     Qt::CTRL | Qt::Key_N},
    {"Scores", ":/liste", "Affichage des 10 meilleurs scores", {}, Qt::CTRL | Qt::Key_H},
    {"", nullptr, nullptr, {}, {}},
    {"Quitter", ":/porte", "Quitter", QKeySequence::Quit, Qt::CTRL | Qt::Key_Q},
    {"", nullptr, nullptr, {}, {}},
    {"Apropos", ":/ampoule", "A propos !", {}, Qt::CTRL | Qt::Key_I},
    {"Aide", ":/livre-aide", "Un peu d'aide ?", QKeySequence::HelpContents, Qt::Key_F1},
};

// A desktop without a key of its own for a standard command (Windows and its Quit, Qt's
// headless platforms) still gets the one the help file tells.
QList<QKeySequence> raccourcis(const BoutonCommande &bouton)
{
    QList<QKeySequence> touches;
    if (bouton.toucheStandard != QKeySequence::UnknownKey)
        touches = QKeySequence::keyBindings(bouton.toucheStandard);
    if (!touches.contains(QKeySequence(bouton.touche)))
        touches.append(QKeySequence(bouton.touche));
    return touches;
}

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
    QFont police = Apparence::police(QStringLiteral("MS Sans Serif"));
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
        // The tooltip stays the button's own text, without the key.
        action->setShortcuts(raccourcis(bouton));
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
    // 1, 2 and 3, on the main row or the keypad, press the buttons as a click does: not at all
    // when the button is greyed, which it is between games.
    for (std::size_t i = 0; i < Reponses.size(); ++i) {
        const auto chiffre = Qt::Key(Qt::Key_1 + int(i));
        auto *touches = new QShortcut(this);
        touches->setKeys({QKeySequence(chiffre), QKeySequence(Qt::KeypadModifier | chiffre)});
        connect(touches, &QShortcut::activated, Reponses[i], &QAbstractButton::click);
    }
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
    // The window opens maximized: its outer height is the screen's free area, where the window
    // system tells it before the window shows (resizeEvent takes the height it really gets).
    disposerEnHauteur(ecran->availableGeometry().height());
    placer(SupportImage, disposition_.supportImage);
    placer(Dessin1, disposition_.dessin1);
    placer(MasqueGauche, disposition_.masqueGauche);
    placer(MasqueDroit, disposition_.masqueDroit);
}

void Questionnaire::disposerEnHauteur(int hauteurFenetre)
{
    const QScreen *ecran = screen() ? screen() : QGuiApplication::primaryScreen();
    disposition_ = Disposition::calculer(Twips::depuisPixels(ecran->geometry().width()),
                                         Twips::depuisPixels(hauteurFenetre));
    // Only the two frames move with the height; what they hold keeps its place, masks included.
    placerDansFenetre(BoiteBoutons, disposition_.boiteBoutons);
    placerDansFenetre(BoiteImage, disposition_.boiteImage);
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
    // Qt moves the focus off a button being disabled to the next one that takes it; with all
    // three disabled it has nowhere to go and is lost, and a player on the keyboard would have
    // to Tab back to the answers after every right one. It comes back with the buttons.
    const bool aucuneActive = std::ranges::none_of(affichage.reponsesActives, std::identity());
    if (const auto focalisee = std::ranges::find(Reponses, focusWidget());
        aucuneActive && focalisee != Reponses.end())
        reponseFocalisee_ = *focalisee;
    for (std::size_t i = 0; i < Reponses.size(); ++i) {
        Reponses[i]->setText(affichage.reponses[i]);
        Reponses[i]->setEnabled(affichage.reponsesActives[i]);
    }
    if (!aucuneActive && reponseFocalisee_)
        std::exchange(reponseFocalisee_, nullptr)->setFocus();
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

void Questionnaire::resizeEvent(QResizeEvent *evenement)
{
    QMainWindow::resizeEvent(evenement);
    // Once maximized, the outer height is the one the window system gave: a Wayland compositor
    // sends it after the window is shown, and no screen area tells it beforehand. Under X11 it is
    // the free area the layout was made for. The event's own size can lag behind the widget's.
    if (isVisible() && isMaximized())
        disposerEnHauteur(frameGeometry().height());
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
    rattacher(fenetre);
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
    rattacher(fenetre);
    bureau_.executerFenetre(fenetre);
}

void Questionnaire::rattacher(QWidget &fenetre) const
{
    // A Wayland compositor ignores the position a window asks for: told that the window belongs
    // to the main window, it keeps it over it. Elsewhere Qt would then centre it on the main
    // window instead of the screen, so it stays on its own there.
    if (!Apparence::surWayland() || !windowHandle())
        return;
    fenetre.winId();
    fenetre.windowHandle()->setTransientParent(windowHandle());
}

void Questionnaire::ouvrirAide()
{
    bureau_.afficherAide(fichierAide_);
}
