#include "app/Icones.h"
#include "app/PlateformeQt.h"
#include "app/Questionnaire.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pavoria"));
    QApplication::setWindowIcon(Icones::programme());
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
