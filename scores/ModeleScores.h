#pragma once

#include "database/ControleDonnees.h"

#include <QAbstractTableModel>

#include <array>

// The score rows as the top-ten grid shows them: NOM, SCORE and DATE in table order, each
// column with its own alignment. The player can only look at them.
class ModeleScores : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int nombreColonnes = 3;

    explicit ModeleScores(QObject *parent = nullptr);

    void remplacerLignes(const QList<ControleDonnees::LigneScore> &lignes);
    void fixerAlignement(int colonne, Qt::Alignment alignement);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<ControleDonnees::LigneScore> lignes_;
    std::array<Qt::Alignment, nombreColonnes> alignements_{};
};
