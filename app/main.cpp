#include "app/Icones.h"
#include "app/PlateformeQt.h"
#include "app/Questionnaire.h"
#include "app/StyleJeu.h"

#include <QApplication>
#include <QDBusConnection>

#include <fontconfig/fontconfig.h>

#include <thread>

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
    QApplication::setApplicationName(QStringLiteral("Pavoria"));
    QApplication::setStyle(new StyleJeu); // owned by the application
    QApplication::setWindowIcon(Icones::programme());
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PAVORIA_ID));
    // The windows are drawn in the classic grey of 3-D controls.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::Button, QColor(192, 192, 192));
    QApplication::setPalette(palette);

    PlateformeQt plateforme;
    Questionnaire questionnaire(plateforme);
    if (!questionnaire.Form_Load())
        return 0;
    questionnaire.showMaximized();
    return QApplication::exec();
}
