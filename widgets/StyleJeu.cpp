#include "widgets/StyleJeu.h"

#include "widgets/Icones.h"

#include <QGuiApplication>
#include <QStyleOption>
#include <QWidget>

namespace {

bool deDroiteAGauche(const QStyleOption *option, const QWidget *widget)
{
    if (option)
        return option->direction == Qt::RightToLeft;
    return (widget ? widget->layoutDirection() : QGuiApplication::layoutDirection())
           == Qt::RightToLeft;
}

} // namespace

#ifdef Q_OS_WIN
StyleJeu::StyleJeu()
    : QProxyStyle(QStringLiteral("Fusion"))
{
}
#else
StyleJeu::StyleJeu() = default;
#endif

QIcon StyleJeu::standardIcon(StandardPixmap image, const QStyleOption *option,
                             const QWidget *widget) const
{
    if (image != SP_ToolBarHorizontalExtensionButton && image != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(image, option, widget);
    // Drawn pointing right: down for a vertical toolbar, left when text runs right to left.
    QTransform sens;
    if (image == SP_ToolBarVerticalExtensionButton)
        sens.rotate(90);
    else if (deDroiteAGauche(option, widget))
        sens.scale(-1, 1);
    return Icones::image(QStringLiteral(":/extension"), sens);
}
