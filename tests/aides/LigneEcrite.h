#pragma once

#include "database/ControleDonnees.h"

// The row that the score writer of the crash test writes at its n-th write: its three fields
// tell n, so that a row mixed from two writes shows. The score always beats the table's lowest.
inline ControleDonnees::LigneScore ligneEcrite(int n)
{
    return {QStringLiteral("ÉCRITURE N° %1").arg(n), 100 + n, QDate(2001, 1, 1).addDays(n)};
}
