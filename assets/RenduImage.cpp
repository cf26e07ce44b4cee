// Renders one SVG picture into PNG files at the given pixel sizes, at build time, so that showing
// a picture costs a PNG decode instead of an SVG parse and render. The picture fills each size, as
// a QSvgWidget of that size would draw it.
//
//   RenduImage SOURCE.svg SORTIE.png:LARGEURxHAUTEUR [SORTIE.png:LARGEURxHAUTEUR...]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Text in a picture needs fonts, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage : RenduImage SOURCE.svg SORTIE.png:LARGEURxHAUTEUR...\n");
        return 2;
    }
    QSvgRenderer rendu(arguments[1]);
    if (!rendu.isValid()) {
        std::fprintf(stderr, "%s : SVG illisible\n", qPrintable(arguments[1]));
        return 1;
    }
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString sortie = arguments[i].section(u':', 0, -2);
        const QStringList taille = arguments[i].section(u':', -1).split(u'x');
        const int largeur = taille.value(0).toInt();
        const int hauteur = taille.value(1).toInt();
        if (sortie.isEmpty() || largeur <= 0 || hauteur <= 0) {
            std::fprintf(stderr, "%s : SORTIE.png:LARGEURxHAUTEUR attendu\n", qPrintable(arguments[i]));
            return 2;
        }
        QImage image(largeur, hauteur, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter peintre(&image);
        rendu.render(&peintre);
        peintre.end();
        if (!image.save(sortie, "PNG")) {
            std::fprintf(stderr, "%s : écriture impossible\n", qPrintable(sortie));
            return 1;
        }
    }
    return 0;
}
