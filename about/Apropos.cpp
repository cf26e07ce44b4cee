#include "about/Apropos.h"

#include "about/LibelleAligne.h"
#include "core/InfosVersion.h"
#include "core/Plateforme.h"
#include "core/Twips.h"
#include "quiz/Param.h"
#include "widgets/Apparence.h"
#include "widgets/Bouton3D.h"
#include "widgets/Bureau.h"
#include "widgets/Icones.h"
#include "widgets/Illustration.h"
#include "widgets/Panneau3D.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

namespace {

// The design of Onglet, in twips.
constexpr float largeurOnglet = 7485;
constexpr float hauteurOnglet = 4095;
constexpr float hauteurOnglets = 295;

constexpr QColor grisClair(192, 192, 192);
constexpr QColor jauneClair(255, 255, 192);
constexpr QColor bleu(0, 0, 255);

// Each address is both shown on its button and opened by it.
QString adresseMail()
{
    return QStringLiteral("jeanne.marchal@example.org");
}

QString pageAuteur()
{
    return QStringLiteral("https://www.example.org/jeanne-marchal/pavoria.html");
}

QString siteTesk()
{
    return QStringLiteral("https://www.tesk.example.net/");
}

QFont police(const QString &famille, qreal points, bool italique = false)
{
    QFont resultat = Apparence::police(famille);
    resultat.setPointSizeF(points);
    resultat.setBold(true);
    resultat.setItalic(italique);
    return resultat;
}

void placer(QWidget *controle, float gauche, float haut, float largeur, float hauteur)
{
    controle->setGeometry(Twips::rectangle(gauche, haut, largeur, hauteur));
}

void peindreFond(QWidget *controle, const QColor &couleur)
{
    // An explicit role: otherwise the control would take its page's button-face role.
    controle->setBackgroundRole(QPalette::Window);
    controle->setAutoFillBackground(true);
    QPalette couleurs = controle->palette();
    couleurs.setColor(QPalette::Window, couleur);
    controle->setPalette(couleurs);
}

template <typename Libelle = QLabel>
Libelle *creerLibelle(const char *nom, Qt::Alignment alignement, const QColor &fond,
                      QWidget *parent)
{
    auto *libelle = new Libelle(parent);
    libelle->setObjectName(QLatin1String(nom));
    // The captions carry file names and version texts, never markup.
    libelle->setTextFormat(Qt::PlainText);
    libelle->setAlignment(alignement | Qt::AlignVCenter);
    peindreFond(libelle, fond);
    return libelle;
}

Bouton3D *creerBouton(const char *nom, const QString &legende, QWidget *parent)
{
    auto *bouton = new Bouton3D(legende, parent);
    bouton->setObjectName(QLatin1String(nom));
    bouton->setLargeurBiseau(1);
    return bouton;
}

QPlainTextEdit *creerZoneTexte(const char *nom, const QString &texte, QWidget *parent)
{
    auto *zone = new QPlainTextEdit(parent);
    zone->setObjectName(QLatin1String(nom));
    zone->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    zone->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette couleurs = zone->palette();
    couleurs.setColor(QPalette::Base, jauneClair);
    zone->setPalette(couleurs);
    zone->setPlainText(texte);
    return zone;
}

} // namespace

Apropos::Apropos(const Param &param, const Plateforme &plateforme, Bureau &bureau, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , param_(param)
    , plateforme_(plateforme)
    , bureau_(bureau)
{
    setObjectName(QStringLiteral("Apropos"));
    setWindowTitle(Apparence::titreVide());
    setFont(police(QStringLiteral("MS Sans Serif"), 8.25));

    Onglet = new QTabWidget(this);
    Onglet->setObjectName(QStringLiteral("Onglet"));
    placer(Onglet, 0, 0, largeurOnglet, hauteurOnglet);
    // QTabBar has no setter for the strip's height; a style sheet sets it and leaves the look.
    Onglet->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { height: %1px; }").arg(Twips::enPixels(hauteurOnglets)));
    // One row of tabs, all five always in view.
    Onglet->setUsesScrollButtons(false);
    Onglet->setElideMode(Qt::ElideNone);

    creerOngletTitre();
    creerOngletInfos();
    creerOngletHistorique();
    creerOngletAssistance();
    creerOngletTesk();

    Form_Load();
}

QWidget *Apropos::ajouterPage(const QString &legende)
{
    auto *page = new QWidget(Onglet);
    // Button face, as the panels on it; styles tend to tint their tab pane.
    page->setBackgroundRole(QPalette::Button);
    page->setAutoFillBackground(true);
    Onglet->addTab(page, legende);
    return page;
}

void Apropos::creerOngletTitre()
{
    QWidget *page = ajouterPage(InfosVersion::ProductName.toString());

    Panel3D1 = new Panneau3D(page);
    Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
    placer(Panel3D1, 2040, 600, 5175, 1095);
    Panel3D1->setLargeurBiseau(2);
    Panel3D1->setLargeurBordure(3);

    Titre = new Panneau3D(Panel3D1);
    Titre->setObjectName(QStringLiteral("Titre"));
    placer(Titre, 120, 120, 4935, 495);
    Titre->setBiseauExterieur(Panneau3D::Biseau::Aucun);
    Titre->setRelief(Panneau3D::Relief::Enfonce);

    SousTitre = creerLibelle("SousTitre", Qt::AlignHCenter, grisClair, Panel3D1);
    placer(SousTitre, 120, 600, 4935, 255);
    SousTitre->setFont(police(QStringLiteral("Arial"), 9.75));

    Panel3D3 = new Panneau3D(page);
    Panel3D3->setObjectName(QStringLiteral("Panel3D3"));
    placer(Panel3D3, 240, 2280, 1575, 1575);
    Panel3D3->setLargeurBiseau(2);

    Dessin4 = new Illustration(QStringLiteral(":/drapeau-tricolore"), Panel3D3);
    Dessin4->setObjectName(QStringLiteral("Dessin4"));
    Dessin4->setAccessibleName(QStringLiteral("Drapeau tricolore"));
    placer(Dessin4, 120, 360, 1335, 885);

    Quitter = creerBouton("Quitter", QString(), page);
    placer(Quitter, 6600, 3240, 735, 735);
    Quitter->setIcon(Icones::image(QStringLiteral(":/sortie")));
    Quitter->setIconSize(QSize(41, 41));
    Quitter->setToolTip(QStringLiteral("Quitter cet écran"));
    Quitter->setAccessibleName(Quitter->toolTip());
    connect(Quitter, &QPushButton::clicked, this, &Apropos::Quitter_Click);
}

void Apropos::creerOngletInfos()
{
    QWidget *page = ajouterPage(QStringLiteral("Infos techniques"));

    SupportInfos = new Panneau3D(page);
    SupportInfos->setObjectName(QStringLiteral("SupportInfos"));
    placer(SupportInfos, 240, 600, 6975, 3255);
    SupportInfos->setBiseauExterieur(Panneau3D::Biseau::Enfonce);
    SupportInfos->setLargeurBiseau(1);
    SupportInfos->setLargeurBordure(3);
    SupportInfos->setCouleurFond(grisClair);

    Description = creerLibelle("Description", Qt::AlignHCenter, Qt::white, SupportInfos);
    placer(Description, 120, 120, 6735, 495);
    Description->setFont(police(QStringLiteral("MS Sans Serif"), 12, true));

    const auto ligne = [this](const char *nom, float haut) {
        auto *libelle = creerLibelle<LibelleAligne>(nom, Qt::AlignLeft, Qt::white, SupportInfos);
        placer(libelle, 120, haut, 6735, 375);
        return libelle;
    };
    NomApplication = ligne("NomApplication", 600);
    Version = ligne("Version", 960);
    Commentaires = ligne("Commentaires", 1320);
    TradeMarks = ligne("TradeMarks", 1680);
    Copyright = ligne("Copyright", 2040);
    Company = ligne("Company", 2400);
}

void Apropos::creerOngletHistorique()
{
    QWidget *page = ajouterPage(QStringLiteral("Historique"));
    Afficheur = creerZoneTexte("Afficheur", historique(), page);
    placer(Afficheur, 240, 600, 6975, 3255);
}

void Apropos::creerOngletAssistance()
{
    QWidget *page = ajouterPage(QStringLiteral("Assistance technique"));
    Text1 = creerZoneTexte("Text1", assistance(), page);
    placer(Text1, 240, 600, 6975, 2415);

    EMail = creerBouton("EMail", QStringLiteral("M'envoyer un E-Mail : ") + adresseMail(), page);
    placer(EMail, 240, 3120, 6975, 375);
    EMail->setCouleurTexte(bleu);
    connect(EMail, &QPushButton::clicked, this, &Apropos::EMail_Click);

    Internet = creerBouton("Internet", QStringLiteral("Visiter mon site : ") + pageAuteur(), page);
    placer(Internet, 240, 3600, 6975, 375);
    Internet->setCouleurTexte(bleu);
    connect(Internet, &QPushButton::clicked, this, &Apropos::Internet_Click);
}

void Apropos::creerOngletTesk()
{
    QWidget *page = ajouterPage(QStringLiteral("Tesk"));

    Picture1 = new Illustration(QStringLiteral(":/logo-tesk"), page);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Logo de l’association Tesk"));
    peindreFond(Picture1, grisClair);
    // The picture box takes its picture's own size, whatever the design's rectangle.
    placer(Picture1, 360, 600, 2940, 1035);
    Picture1->resize(Picture1->sizeHint());

    const auto bouton = [page](const char *nom, const QString &legende, float haut) {
        Bouton3D *resultat = creerBouton(nom, legende, page);
        placer(resultat, 3840, haut, 2895, 375);
        return resultat;
    };
    SSCommand1 = bouton("SSCommand1", QStringLiteral("Lire Le_Tesk_.txt"), 720);
    SSCommand2 = bouton("SSCommand2", QStringLiteral("Lire Adhésion.txt"), 1200);
    SSCommand3 = bouton("SSCommand3", QStringLiteral("Lire Le_Tesk_.hlp"), 1680);
    SSCommand4 = bouton("SSCommand4", QStringLiteral("Lire Le_Tesk_.htm"), 2160);
    SSCommand5 =
        creerBouton("SSCommand5", QStringLiteral("Visiter le site de Tesk : ") + siteTesk(), page);
    placer(SSCommand5, 240, 3480, 6975, 375);
    SSCommand5->setCouleurTexte(bleu);

    connect(SSCommand1, &QPushButton::clicked, this, &Apropos::SSCommand1_Click);
    connect(SSCommand2, &QPushButton::clicked, this, &Apropos::SSCommand2_Click);
    connect(SSCommand3, &QPushButton::clicked, this, &Apropos::SSCommand3_Click);
    connect(SSCommand4, &QPushButton::clicked, this, &Apropos::SSCommand4_Click);
    connect(SSCommand5, &QPushButton::clicked, this, &Apropos::SSCommand5_Click);
}

void Apropos::Form_Load()
{
    Onglet->move(0, 0);
    setFixedSize(Onglet->size());

    const QRect ecran = QGuiApplication::primaryScreen()->geometry();
    const float gauche = (Twips::depuisPixels(ecran.width()) - largeurOnglet) / 2;
    const float haut = (Twips::depuisPixels(ecran.height()) - hauteurOnglet) / 2;
    move(ecran.topLeft() + QPoint(Twips::enPixels(gauche), Twips::enPixels(haut)));

    const QString produit = InfosVersion::ProductName.toString();
    Titre->setLegende(produit);
    QFont policeTitre = Titre->font();
    policeTitre.setFamily(QStringLiteral("Arial"));
    policeTitre.setPointSize(18);
    Titre->setFont(policeTitre);

    SousTitre->setText(QStringLiteral("Version ") + param_.VersionAppli
                       + QStringLiteral(" compilée le ") + param_.DateAppli);
    Description->setText(produit);
    // The name as it is on disk: appending ".EXE" would misname it where programs have none.
    NomApplication->setLegende(QStringLiteral("  Nom de l'éxecutable : "),
                               plateforme_.nomProgramme());
    Commentaires->setLegende(QStringLiteral("  Commentaires :          "),
                             InfosVersion::Comments.toString());
    Copyright->setLegende(QStringLiteral("  Copyright :                "),
                          InfosVersion::LegalCopyright.toString());
    Company->setLegende(QStringLiteral("  Organisation :            "),
                        InfosVersion::CompanyName.toString());
    TradeMarks->setLegende(QStringLiteral("  Marques légales :       "),
                           InfosVersion::LegalTrademarks.toString());
    Version->setLegende(QStringLiteral("  Version :                  "),
                        QString::number(InfosVersion::Major) + u'.'
                            + QString::number(InfosVersion::Minor) + QStringLiteral(" du ")
                            + param_.DateAppli);
    LibelleAligne::aligner({NomApplication, Version, Commentaires, TradeMarks, Copyright, Company});

    Onglet->setCurrentIndex(0);
}

void Apropos::showEvent(QShowEvent *evenement)
{
    QDialog::showEvent(evenement);
    alignerPages();
}

void Apropos::alignerPages()
{
    // The style decides where the pages start under the tab strip, and only once the tab
    // control is shown; the design counts every position from Onglet's corner.
    const QPoint origine = Onglet->currentWidget()->mapTo(Onglet, QPoint());
    const QPoint ecart = origine - originePages_;
    if (ecart.isNull())
        return;
    for (int i = 0; i < Onglet->count(); ++i) {
        const auto controles =
            Onglet->widget(i)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *controle : controles)
            controle->move(controle->pos() - ecart);
    }
    originePages_ = origine;
}

void Apropos::keyPressEvent(QKeyEvent *evenement)
{
    // With no title bar, Quitter on the first tab is the only way out: Escape must not close.
    if (evenement->key() == Qt::Key_Escape) {
        evenement->accept();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

void Apropos::Quitter_Click()
{
    accept();
}

void Apropos::EMail_Click()
{
    OuvrirDocument(QStringLiteral("mailto:") + adresseMail());
}

void Apropos::Internet_Click()
{
    OuvrirDocument(pageAuteur());
}

// The documents are opened under their names on disk, not as the captions spell them.
void Apropos::SSCommand1_Click()
{
    OuvrirDocument(QStringLiteral("Le_tesk_.txt"));
}

void Apropos::SSCommand2_Click()
{
    OuvrirDocument(QStringLiteral("Adhesion.txt"));
}

void Apropos::SSCommand3_Click()
{
    OuvrirDocument(QStringLiteral("Le_Tesk_.hlp"));
}

void Apropos::SSCommand4_Click()
{
    OuvrirDocument(QStringLiteral("Le_Tesk_.htm"));
}

void Apropos::SSCommand5_Click()
{
    OuvrirDocument(siteTesk());
}

void Apropos::OuvrirDocument(const QString &document)
{
    // The desktop neither waits for the opened program nor reports a failure.
    bureau_.ouvrirDocument(document);
}

QString Apropos::historique()
{
    return QStringLiteral("Evolution des versions de : Pavoria\r\n"
                          "\r\n"
                          "04/2000 - V1.6\tBoîte « A propos » à onglets, aide en ligne revue.\r\n"
                          "07/1999 - V1.5\tAccès direct à mon E-Mail et à mon site Internet.\r\n"
                          "09/1998 - V1.0\tPremière version diffusée.\r\n");
}

QString Apropos::assistance()
{
    return QStringLiteral(
        "ASSISTANCE TECHNIQUE :\r\n"
        "\r\n"
        "Si vous rencontrez un problème avec ce programme, ou si vous avez une suggestion pour "
        "l’améliorer, faites-le-moi savoir. Je corrigerai tout dysfonctionnement et je vous "
        "enverrai une version corrigée. Écrivez-moi de préférence par courrier ; ne me "
        "téléphonez qu’en cas d’urgence, le soir. Vous pouvez aussi m’envoyer une télécopie "
        "ou un E-Mail.\r\n"
        "\r\n"
        "Jeanne Marchal\r\n"
        "12, rue des Trois-Moulins\r\n"
        "77940 Courbeville-en-Brie\r\n"
        "Téléphone : 01 99 00 00 00\r\n"
        "Télécopie : 01 99 00 00 01\r\n"
        "E-Mail : jeanne.marchal@example.org\r\n");
}
