#pragma once

#include "database/ControleDonnees.h"

#include <QDialog>

class Bouton3D;
class ModeleScores;
class QTableView;
struct Param;

// The top-ten window: the score table, highest first, in a grid the player can only look at,
// and one button that closes it. It reads the table and never writes it.
class Scores : public QDialog
{
    Q_OBJECT

public:
    explicit Scores(const Param &param, QWidget *parent = nullptr);

    // False when the table cannot be read; erreur() then says why, naming the file.
    bool Form_Load();

    QString erreur() const { return DataScores.erreur(); }
    bool baseOuverte() const { return DataScores.estOuvert(); }

public slots:
    void reject() override;

private:
    void centrerControles();
    void formaterColonnes();
    void ValiderListeScores_Click();

    const Param &param_;
    ControleDonnees DataScores;
    ModeleScores *modele_ = nullptr;
    QTableView *Grille = nullptr;
    Bouton3D *ValiderListeScores = nullptr;
};
