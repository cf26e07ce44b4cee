#include "app/FenetreAide.h"

#include "widgets/Icones.h"

#include <QFileInfo>
#include <QUrl>

FenetreAide::FenetreAide(QWidget *parent)
    : QTextBrowser(parent)
{
    setWindowTitle(QStringLiteral("Aide de Pavoria"));
    setWindowIcon(Icones::programme());
    setOpenExternalLinks(true);
    // The text wraps to the window's width, and tables shrink to it: Qt's table layout still
    // overshoots it by a pixel, which is no reason for a scroll bar.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resize(720, 640);
}

void FenetreAide::ouvrir(const QString &fichier)
{
    const QFileInfo info(fichier);
    if (info.isFile() && info.isReadable()) {
        setSource(QUrl::fromLocalFile(info.absoluteFilePath()), QTextDocument::HtmlResource);
    } else {
        setSource(QUrl());
        setHtml(QStringLiteral("<h2>Aide indisponible</h2>"
                               "<p>Le fichier d’aide « %1 » est introuvable ou illisible.</p>")
                    .arg(fichier.toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}
