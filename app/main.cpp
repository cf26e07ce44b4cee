#include "app/BureauQt.h"
#include "app/Questionnaire.h"
#include "core/PlateformeQt.h"
#include "widgets/Apparence.h"

#include <QApplication>
#ifdef PAVORIA_AVEC_DBUS
#include <QDBusConnection>
#endif

#include <cstdio>
#include <thread>

#ifdef PAVORIA_AVEC_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#ifndef Q_OS_WIN
namespace {

// Without a session runtime folder, Qt warns on the terminal each time it looks there to tell
// whether it runs in a Flatpak, at start-up and when it opens a document: nothing is wrong for
// this game, which keeps its lock in a folder of the player's own then. Every other message is
// printed as Qt prints it.
void passerDossierExecutionAbsent(QtMsgType type, const QMessageLogContext &contexte,
                                  const QString &message)
{
    if (message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        return;
    std::fputs(qPrintable(qFormatLogMessage(type, contexte, message) + u'\n'), stderr);
}

} // namespace
#endif

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qInstallMessageHandler(passerDossierExecutionAbsent);
#endif
#ifdef PAVORIA_AVEC_FONTCONFIG
    // Reading the desktop's font configuration is the longest step before the first text can
    // be measured, and it needs no display: it runs beside the connection to the display and
    // is over before any window is built. Qt's own call then finds it done.
    std::jthread configurationPolices([] { FcInit(); });
#endif
    QApplication application(argc, argv);
#ifdef PAVORIA_AVEC_DBUS
    // The accessibility bridge connects to the session bus when the first widget names itself,
    // and waits for the connection: made here, it overlaps with loading the fonts, which the
    // main window does first. Joined before the application goes.
    const std::jthread connexionBus([] { QDBusConnection::sessionBus(); });
#endif
#ifdef PAVORIA_AVEC_FONTCONFIG
    configurationPolices.join();
#endif
    Apparence::appliquer();

    // What the program is and where the game's files lie were fixed by the build: beside the
    // program in the build tree, the data folder of the install for the installed program
    // (app/CMakeLists.txt).
    PlateformeQt plateforme(PlateformeQt::Programme::PAVORIA_CONSTRUIT_COMME,
                            QStringLiteral(PAVORIA_FICHIERS));
    BureauQt bureau(plateforme);
    Questionnaire questionnaire(plateforme, bureau);
    if (!questionnaire.Form_Load())
        return 0;
    questionnaire.showMaximized();
    return QApplication::exec();
}
