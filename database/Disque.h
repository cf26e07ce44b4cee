#pragma once

#include <QString>

// Writing a whole file for good, for the database builder and the update of a player's copy.
namespace Disque {

// Puts a complete file in the place of another in one step, as QSaveFile does: the new file is
// on the disk before its name replaces the old one's, and the folder after it, so that a machine
// that stops keeps one of the two whole. Empty on success, else why not, in French.
QString remplacer(const QString &nouveau, const QString &ancien);

} // namespace Disque
