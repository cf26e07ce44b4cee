#include "widgets/Apparence.h"

#include "core/InfosVersion.h"
#include "widgets/Icones.h"
#include "widgets/StyleJeu.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>

void Apparence::appliquer()
{
    QApplication::setApplicationName(InfosVersion::ProductName.toString());
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(InfosVersion::IdBureau.toString());
    QApplication::setWindowIcon(Icones::programme());
    QApplication::setStyle(new StyleJeu); // owned by the application

    // The windows are drawn in the classic grey of 3-D controls. Windows hands Qt the system's
    // colours, which the free desktops do not: there the style's own stand beneath the greys,
    // as they do on Debian.
#ifdef Q_OS_WIN
    QPalette palette = QApplication::style()->standardPalette();
#else
    QPalette palette = QApplication::palette();
#endif
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::Button, QColor(192, 192, 192));
    // Qt's own title bar under Wayland reads the palette once, and draws an inactive window's
    // title and buttons in the disabled text colour on the window colour: the default disabled
    // grey (190) would vanish on 192. The classic disabled grey stands out.
    if (surWayland())
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    QApplication::setPalette(palette);

    // The window designs name Windows fonts; Liberation Sans is the metric twin of Arial.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    // Wine has neither of Windows' own.
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"),
                               {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
}

QFont Apparence::police(const QString &famille)
{
#ifdef Q_OS_WIN
    if (famille == u"MS Sans Serif")
        return QFont(QStringLiteral("Microsoft Sans Serif"));
#endif
    return QFont(famille);
}

QString Apparence::titreVide()
{
    return QStringLiteral(" ");
}

bool Apparence::surWayland()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}
