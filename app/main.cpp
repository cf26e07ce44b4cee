#include "app/BureauQt.h"
#include "app/Questionnaire.h"
#include "core/PlateformeQt.h"
#include "widgets/Apparence.h"

#include <QApplication>
#include <QDBusConnection>

#include <thread>

#include <fontconfig/fontconfig.h>

int main(int argc, char *argv[])
{
    // Reading the desktop's font configuration is the longest step before the first text can
    // be measured, and it needs no display: it runs beside the connection to the display and
    // is over before any window is built. Qt's own call then finds it done.
    std::thread configurationPolices([] { FcInit(); });
    QApplication application(argc, argv);
    // The accessibility bridge connects to the session bus when the first widget names itself,
    // and waits for the connection: made here, it overlaps with loading the fonts, which the
    // main window does first. Joined before the application goes.
    const std::jthread connexionBus([] { QDBusConnection::sessionBus(); });
    configurationPolices.join();
    Apparence::appliquer();

    // Where the game's files lie was fixed by the build: beside the program in the build tree,
    // the data folder of the install for the installed program (app/CMakeLists.txt).
    PlateformeQt plateforme(QStringLiteral(PAVORIA_FICHIERS));
    BureauQt bureau(plateforme);
    Questionnaire questionnaire(plateforme, bureau);
    if (!questionnaire.Form_Load())
        return 0;
    questionnaire.showMaximized();
    return QApplication::exec();
}
