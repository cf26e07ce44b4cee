#pragma once

#include <QProcess>

#ifndef Q_OS_WIN
#include <csignal>
#endif

// A process ended at once, as a power cut ends its writes: QProcess::kill() sends SIGKILL, or
// on Windows calls TerminateProcess with Qt's own exit code.
namespace Coupure {

#ifdef Q_OS_WIN
inline constexpr int codeSortie = 0xf291;
#else
inline constexpr int codeSortie = SIGKILL;
#endif

} // namespace Coupure
