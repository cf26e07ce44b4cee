#pragma once

#include <QString>

// Writing a whole file for good, for the database builder, the player's copy and its update.
namespace Disque {

// Puts a complete file in the place of another in one step, as QSaveFile does: the new file is
// on the disk before its name replaces the old one's, and the name after it, so that a machine
// that stops keeps one of the two whole. Empty on success, else why not, in French.
QString remplacer(const QString &nouveau, const QString &ancien);

// Writes the whole of a file over another, flushed to the system; false if either fails.
bool recopier(const QString &source, const QString &cible);

// Copies a file whole or not at all: into a new file beside the target, then put in its place
// as remplacer does. Empty on success, else why not, in French.
QString copier(const QString &source, const QString &cible);

} // namespace Disque
