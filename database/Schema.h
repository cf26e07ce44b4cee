#pragma once

#include "core/Twips.h"

#include <QLatin1StringView>
#include <QSize>

// The shape of the game database, written once: the builder creates it from here, the
// connection checks and reads it through these statements, and the tests and benchmarks take
// its names and counts from here. Every statement binds its values; none is ever spliced in.
namespace Schema {

// The flag table: every number from 1 to nombreDrapeaux once, each with a distinct country name
// and the flag's picture.
inline constexpr QLatin1StringView tableDrapeaux{"Pavoria"};
inline constexpr QLatin1StringView champNumero{"NUMERO"};
inline constexpr QLatin1StringView champPays{"PAYS"};
inline constexpr QLatin1StringView champDessin{"Pavorium"};
inline constexpr int nombreDrapeaux = 178;

// The score table: exactly nombreScores rows, present from the start and only ever overwritten.
inline constexpr QLatin1StringView tableScores{"SCORES"};
inline constexpr QLatin1StringView champNom{"NOM"};
inline constexpr QLatin1StringView champScore{"SCORE"};
inline constexpr QLatin1StringView champDate{"DATE"}; // ISO 8601, the day without a time
inline constexpr int nombreScores = 10;

inline constexpr QLatin1StringView creationDrapeaux{
    "CREATE TABLE Pavoria(NUMERO INTEGER PRIMARY KEY, PAYS TEXT UNIQUE NOT NULL, "
    "Pavorium BLOB NOT NULL)"};
inline constexpr QLatin1StringView creationScores{
    "CREATE TABLE SCORES(NOM TEXT, SCORE INTEGER, DATE TEXT)"};
inline constexpr QLatin1StringView ajoutDrapeau{
    "INSERT INTO Pavoria(NUMERO, PAYS, Pavorium) VALUES(?, ?, ?)"};
inline constexpr QLatin1StringView ajoutScore{
    "INSERT INTO SCORES(NOM, SCORE, DATE) VALUES(?, ?, ?)"};

// The question turn: three names by number, then the picture by the right one's name.
inline constexpr QLatin1StringView paysDuNumero{"SELECT PAYS FROM Pavoria WHERE NUMERO = ?"};
inline constexpr QLatin1StringView dessinDuPays{"SELECT Pavorium FROM Pavoria WHERE PAYS = ?"};
// The numbers from 1 to ? that the table holds, in order: a gap is a missing flag.
inline constexpr QLatin1StringView numerosPresents{
    "SELECT DISTINCT NUMERO FROM Pavoria WHERE NUMERO BETWEEN 1 AND ? ORDER BY NUMERO"};

// The score windows. Among equal scores the first row stored comes first, so the lowest row
// is always the same one.
inline constexpr QLatin1StringView nombreLignesScores{"SELECT COUNT(*) FROM SCORES"};
inline constexpr QLatin1StringView plusPetitScore{
    "SELECT SCORE FROM SCORES ORDER BY SCORE, rowid LIMIT 1"};
inline constexpr QLatin1StringView remplacementPlusPetitScore{
    "UPDATE SCORES SET NOM = ?, SCORE = ?, DATE = ? "
    "WHERE rowid = (SELECT rowid FROM SCORES ORDER BY SCORE, rowid LIMIT 1)"};
inline constexpr QLatin1StringView scoresDecroissants{
    "SELECT NOM, SCORE, DATE FROM SCORES ORDER BY SCORE DESC, rowid"};
// In the order the rows are stored, which decides which of equal lowest scores goes first.
inline constexpr QLatin1StringView scoresStockes{
    "SELECT NOM, SCORE, DATE FROM SCORES ORDER BY rowid"};

// The main window's flag image (Dessin1), in twips. Each picture is stored at twice its logical
// size, so that flags stay sharp on HiDPI screens.
inline constexpr float largeurDessin = 2775;
inline constexpr float hauteurDessin = 1455;

inline QSize tailleDessin()
{
    return {2 * Twips::enPixels(largeurDessin), 2 * Twips::enPixels(hauteurDessin)};
}

} // namespace Schema
