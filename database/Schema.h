#pragma once

#include "core/Twips.h"

#include <QLatin1StringView>
#include <QSize>
#include <QString>

// The shape of the game database, written once: the builder creates it from here, the
// connection checks and reads it through these statements, and the tests and benchmarks take
// its names and counts from here. Every statement binds the values it is given; only the
// version, a constant of the program, is written into its statement.
namespace Schema {

// The flag table: every number from 1 to nombreDrapeaux once, each with a distinct country name
// and the flag's picture.
inline constexpr QLatin1StringView tableDrapeaux{"Pavoria"};
inline constexpr QLatin1StringView champNumero{"NUMERO"};
inline constexpr QLatin1StringView champPays{"PAYS"};
inline constexpr QLatin1StringView champDessin{"Pavorium"};
inline constexpr int nombreDrapeaux = 178;

// The flag table's version, which the builder writes as the file's user_version: at start-up,
// a player's copy with an older one gets the shipped file's table and keeps its scores
// (MiseAJourCopie). Raise it by one with every change of a number, a name, a flag's SVG or how
// the flags are rendered, or the players who have played before never see the change:
// tests/unit/tst_basedejeu.cpp holds the fingerprint of each version's sources and fails on
// sources that are not this version's.
inline constexpr int versionDrapeaux = 3;
// Where SQLite keeps the user_version in the file's header: 4 bytes, big-endian, at byte 60,
// after the 16 bytes that mark a database. Read there, it costs no database engine.
inline constexpr QLatin1StringView marqueSqlite{"SQLite format 3\0", 16};
inline constexpr qint64 positionVersion = 60;

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
// A pragma takes no bound value: the version is a constant of the program, never data.
inline QString ecritureVersion()
{
    return QStringLiteral("PRAGMA user_version = %1").arg(versionDrapeaux);
}
inline constexpr QLatin1StringView lectureVersion{"PRAGMA user_version"};

// A copy brought up to a newer flag table: the shipped file with the copy's scores, attached
// under this name, in the order they are stored.
inline constexpr QLatin1StringView attacheAncienne{"ATTACH DATABASE ? AS ancienne"};
inline constexpr QLatin1StringView detacheAncienne{"DETACH DATABASE ancienne"};
inline constexpr QLatin1StringView effacementScores{"DELETE FROM SCORES"};
inline constexpr QLatin1StringView repriseScores{
    "INSERT INTO SCORES(NOM, SCORE, DATE) SELECT NOM, SCORE, DATE FROM ancienne.SCORES "
    "ORDER BY rowid"};

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
