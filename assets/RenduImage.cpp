// Renders one SVG picture into files at the given pixel sizes, at build time, so that showing a
// picture costs a PNG decode, or a copy, instead of an SVG parse and render. The picture fills
// each size, as a QSvgWidget of that size would draw it. Every picture rendered at build time
// comes from here: the windows' pictures and the desktop's icons alike.
//
//   RenduImage SOURCE.svg SORTIE:LARGEURxHAUTEUR [SORTIE:LARGEURxHAUTEUR...]
//
// SORTIE ending in .png is a PNG file; ending in .argb it is the raw picture that the main window
// shows at start-up (Icones::image): width and height as 32-bit little-endian integers, then the
// premultiplied ARGB32 pixels row by row, which the program copies without decoding.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

bool ecrireBrute(const QImage &image, const QString &sortie)
{
    QByteArray octets(8 + 4 * qsizetype(image.width()) * image.height(), Qt::Uninitialized);
    char *suivant = octets.data();
    qToLittleEndian<quint32>(quint32(image.width()), suivant);
    qToLittleEndian<quint32>(quint32(image.height()), suivant + 4);
    suivant += 8;
    for (int ligne = 0; ligne < image.height(); ++ligne) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(ligne));
        for (int colonne = 0; colonne < image.width(); ++colonne, suivant += 4)
            qToLittleEndian<quint32>(pixels[colonne], suivant);
    }
    QFile fichier(sortie);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size();
}

bool ecrirePng(const QImage &image, const QString &sortie)
{
    QImageWriter png(sortie, "png");
    // For PNG the quality is the inverse of zlib's level: 0 packs the file tightest.
    png.setQuality(0);
    return png.write(image);
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage : RenduImage SOURCE.svg SORTIE:LARGEURxHAUTEUR...\n");
        return 2;
    }
    // Text would be drawn in whatever fonts the building system has, and two builds of the same
    // sources could differ: a picture carries its text as outlines.
    QFile source(arguments[1]);
    const QByteArray svg = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    if (svg.contains("<text")) {
        std::fprintf(stderr, "%s : texte à dessiner en contours, sans police\n",
                     qPrintable(arguments[1]));
        return 1;
    }
    QSvgRenderer rendu(svg);
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
            std::fprintf(stderr, "%s : SORTIE:LARGEURxHAUTEUR attendu\n", qPrintable(arguments[i]));
            return 2;
        }
        QImage image(largeur, hauteur, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter peintre(&image);
        peintre.setRenderHint(QPainter::Antialiasing);
        peintre.setRenderHint(QPainter::SmoothPixmapTransform);
        rendu.render(&peintre);
        peintre.end();
        const bool ecrit =
            QDir().mkpath(QFileInfo(sortie).absolutePath())
            && (sortie.endsWith(u".argb") ? ecrireBrute(image, sortie) : ecrirePng(image, sortie));
        if (!ecrit) {
            std::fprintf(stderr, "%s : écriture impossible\n", qPrintable(sortie));
            return 1;
        }
    }
    return 0;
}
