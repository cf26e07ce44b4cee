#include "widgets/Apparence.h"

#include "core/InfosVersion.h"
#include "widgets/Icones.h"
#include "widgets/StyleJeu.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

void Apparence::appliquer()
{
    QApplication::setApplicationName(InfosVersion::ProductName.toString());
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(InfosVersion::IdBureau.toString());
    QApplication::setWindowIcon(Icones::programme());
    QApplication::setStyle(new StyleJeu); // owned by the application

    // The windows are drawn in the classic grey of 3-D controls.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::Button, QColor(192, 192, 192));
    QApplication::setPalette(palette);

    // The window designs name Windows fonts; Liberation Sans is the metric twin of Arial.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}
