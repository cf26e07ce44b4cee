#include "scores/ModeleScores.h"

ModeleScores::ModeleScores(QObject *parent)
    : QAbstractTableModel(parent)
{
    alignements_.fill(Qt::AlignLeft);
}

void ModeleScores::remplacerLignes(const QList<ControleDonnees::LigneScore> &lignes)
{
    beginResetModel();
    lignes_ = lignes;
    endResetModel();
}

void ModeleScores::fixerAlignement(int colonne, Qt::Alignment alignement)
{
    if (colonne < 0 || colonne >= nombreColonnes)
        return;
    alignements_[colonne] = alignement;
    if (!lignes_.isEmpty())
        emit dataChanged(index(0, colonne), index(rowCount() - 1, colonne),
                         {Qt::TextAlignmentRole});
}

int ModeleScores::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lignes_.size());
}

int ModeleScores::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : nombreColonnes;
}

QVariant ModeleScores::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ControleDonnees::LigneScore &ligne = lignes_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case 0: return ligne.NOM;
        case 1: return ligne.SCORE;
        default:
            // A date the table could not give back shows blank rather than a bogus day.
            return ligne.DATE.toString(QStringLiteral("dd/MM/yyyy"));
        }
    case Qt::TextAlignmentRole:
        // An int, which every Qt 6 delegate reads back.
        return (alignements_[index.column()] | Qt::AlignVCenter).toInt();
    default: return {};
    }
}

QVariant ModeleScores::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The grid hides its headers; screen readers still name the columns by their fields.
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0: return QStringLiteral("NOM");
    case 1: return QStringLiteral("SCORE");
    case 2: return QStringLiteral("DATE");
    default: return {};
    }
}

Qt::ItemFlags ModeleScores::flags(const QModelIndex &index) const
{
    // Neither selectable nor editable: the rows are there to be read.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
