#include "scores/Scores.h"

#include "core/Twips.h"
#include "quiz/Param.h"
#include "scores/ModeleScores.h"
#include "widgets/Apparence.h"
#include "widgets/Bouton3D.h"

#include <QHeaderView>
#include <QTableView>

#include <array>

namespace {

constexpr float largeurGrille = 6000;
constexpr float hauteurGrille = 3015;
constexpr float largeurBouton = 1095;
// The table always holds ten rows, and all of them must show without a scroll bar.
constexpr int lignesVisibles = 10;

struct FormatColonne
{
    Qt::Alignment alignement;
    float largeur;
};

// QTableView draws its dividers for every column or none; none is wanted, see the constructor.
constexpr std::array<FormatColonne, ModeleScores::nombreColonnes> formatsColonnes{{
    {Qt::AlignLeft, 2500},
    {Qt::AlignHCenter, 1000},
    {Qt::AlignHCenter, 2500},
}};

} // namespace

Scores::Scores(const Param &param, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , param_(param)
    , DataScores(QStringLiteral("Scores.DataScores"), ControleDonnees::Acces::Lecture)
{
    setObjectName(QStringLiteral("Scores"));
    setWindowTitle(QStringLiteral("Les 10 meilleurs scores"));
    setFixedSize(Twips::rectangle(0, 0, 6495, 4065).size());
    // The button's lettering matches the main window's.
    QFont police = Apparence::police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(8.25);
    police.setBold(true);
    setFont(police);

    modele_ = new ModeleScores(this);
    Grille = new QTableView(this);
    Grille->setObjectName(QStringLiteral("Grille"));
    Grille->setGeometry(Twips::rectangle(240, 240, largeurGrille, hauteurGrille));
    Grille->setModel(modele_);
    Grille->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grille->setSelectionMode(QAbstractItemView::NoSelection);
    Grille->setFocusPolicy(Qt::NoFocus);
    Grille->setFrameShape(QFrame::NoFrame);
    Grille->setShowGrid(false);
    Grille->setWordWrap(false);
    Grille->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grille->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QHeaderView *entete : {Grille->horizontalHeader(), Grille->verticalHeader()}) {
        entete->hide();
        entete->setSectionResizeMode(QHeaderView::Fixed);
    }
    // The style's default row is taller than a tenth of the grid.
    Grille->verticalHeader()->setMinimumSectionSize(1);
    Grille->verticalHeader()->setDefaultSectionSize(
        Twips::enPixels(hauteurGrille / lignesVisibles));
    QFont policeGrille(QStringLiteral("Arial"));
    policeGrille.setPointSizeF(11.25);
    policeGrille.setBold(true);
    Grille->setFont(policeGrille);
    // Disabled so that it takes no input, but it must not look greyed out: every colour
    // group, Disabled included, gets the same colours.
    QPalette couleurs = Grille->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        couleurs.setColor(role, QColor(0, 0, 255));
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        couleurs.setColor(role, QColor(192, 192, 192));
    Grille->setPalette(couleurs);
    Grille->setEnabled(false);

    ValiderListeScores = new Bouton3D(QStringLiteral("&Annuler"), this);
    ValiderListeScores->setObjectName(QStringLiteral("ValiderListeScores"));
    ValiderListeScores->setGeometry(Twips::rectangle(2640, 3600, largeurBouton, 375));
    ValiderListeScores->setFocus();
    connect(ValiderListeScores, &QPushButton::clicked, this, &Scores::ValiderListeScores_Click);
}

bool Scores::Form_Load()
{
    centrerControles();
    if (!DataScores.ouvrirScores(param_.FichierBase))
        return false;
    const std::optional<QList<ControleDonnees::LigneScore>> lignes =
        DataScores.scoresDecroissants();
    if (!lignes) {
        DataScores.fermer();
        return false;
    }
    modele_->remplacerLignes(*lignes);
    formaterColonnes();
    return true;
}

void Scores::centrerControles()
{
    // The outer width counts the border, so both sit a little right of the client centre.
    // The border is known once the native window exists, on platforms that know it before
    // the window shows; without one the outer width is the client width.
    create();
    const float largeurExterieure = Twips::depuisPixels(frameGeometry().width());
    ValiderListeScores->move(Twips::enPixels((largeurExterieure - largeurBouton) / 2),
                             ValiderListeScores->y());
    Grille->move(Twips::enPixels((largeurExterieure - largeurGrille) / 2), Grille->y());
}

void Scores::formaterColonnes()
{
    // Widths are rounded at the columns' edges: rounded one by one, they would overflow
    // the grid by a pixel.
    float gauche = 0;
    for (int colonne = 0; colonne < ModeleScores::nombreColonnes; ++colonne) {
        const FormatColonne &format = formatsColonnes[colonne];
        modele_->fixerAlignement(colonne, format.alignement);
        const float droite = gauche + format.largeur;
        Grille->setColumnWidth(colonne, Twips::enPixels(droite) - Twips::enPixels(gauche));
        gauche = droite;
    }
}

void Scores::ValiderListeScores_Click()
{
    DataScores.fermer();
    accept();
}

void Scores::reject()
{
    // Escape and the title bar's close button leave as the button does, database and all.
    DataScores.fermer();
    QDialog::reject();
}
