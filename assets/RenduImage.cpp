// Renders one SVG picture into files at the given pixel sizes, at build time, so that showing a
// picture costs a PNG decode, or a copy, instead of an SVG parse and render. The picture fills
// each size, as a QSvgWidget of that size would draw it. Every picture rendered at build time
// comes from here: the windows' pictures and the desktop's icons alike.
//
//   RenduImage SOURCE.svg SORTIE:LARGEURxHAUTEUR[,LARGEURxHAUTEUR...] [SORTIE:...]
//
// SORTIE ending in .png is a PNG file; ending in .argb it is the raw picture that the main window
// shows at start-up (Icones::image): width and height as 32-bit little-endian integers, then the
// premultiplied ARGB32 pixels row by row, which the program copies without decoding. Ending in
// .ico it is a Windows icon holding the picture at each of the sizes given, as PNG.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QList>
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

bool ecrirePng(const QImage &image, QIODevice &sortie)
{
    QImageWriter png(&sortie, "png");
    // For PNG the quality is the inverse of zlib's level: 0 packs the file tightest.
    png.setQuality(0);
    return png.write(image);
}

bool ecrirePng(const QImage &image, const QString &sortie)
{
    QFile fichier(sortie);
    return fichier.open(QIODevice::WriteOnly) && ecrirePng(image, fichier);
}

// An ICONDIR header, one ICONDIRENTRY a picture, then the pictures, each a whole PNG file, which
// Windows reads in icons since Vista. A side of 256 is written 0.
bool ecrireIcone(const QList<QImage> &images, const QString &sortie)
{
    QList<QByteArray> pngs;
    for (const QImage &image : images) {
        QBuffer png;
        if (image.width() > 256 || image.height() > 256 || !png.open(QIODevice::WriteOnly)
            || !ecrirePng(image, png))
            return false;
        pngs.append(png.data());
    }
    QByteArray octets(6 + 16 * images.size(), '\0');
    char *entree = octets.data();
    qToLittleEndian<quint16>(1, entree + 2);
    qToLittleEndian<quint16>(quint16(images.size()), entree + 4);
    entree += 6;
    for (qsizetype i = 0; i < images.size(); ++i, entree += 16) {
        entree[0] = char(images[i].width() & 0xff);
        entree[1] = char(images[i].height() & 0xff);
        qToLittleEndian<quint16>(1, entree + 4);
        qToLittleEndian<quint16>(32, entree + 6);
        qToLittleEndian<quint32>(quint32(pngs[i].size()), entree + 8);
        qToLittleEndian<quint32>(quint32(octets.size()), entree + 12);
        octets.append(pngs[i]);
    }
    QFile fichier(sortie);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size();
}

QImage dessiner(QSvgRenderer &rendu, QSize taille)
{
    QImage image(taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setRenderHint(QPainter::SmoothPixmapTransform);
    rendu.render(&peintre);
    peintre.end();
    return image;
}

// "LARGEURxHAUTEUR[,LARGEURxHAUTEUR...]"; empty if one is not a size.
QList<QSize> lireTailles(const QString &texte)
{
    QList<QSize> tailles;
    for (const QString &taille : texte.split(u',')) {
        const QStringList cotes = taille.split(u'x');
        const QSize lue(cotes.value(0).toInt(), cotes.value(1).toInt());
        if (cotes.size() != 2 || lue.isEmpty())
            return {};
        tailles.append(lue);
    }
    return tailles;
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
        const QList<QSize> tailles = lireTailles(arguments[i].section(u':', -1));
        const bool icone = sortie.endsWith(u".ico");
        if (sortie.isEmpty() || tailles.isEmpty() || (!icone && tailles.size() > 1)) {
            std::fprintf(stderr, "%s : SORTIE:LARGEURxHAUTEUR attendu\n", qPrintable(arguments[i]));
            return 2;
        }
        QList<QImage> images;
        for (const QSize taille : tailles)
            images.append(dessiner(rendu, taille));
        const bool ecrit =
            QDir().mkpath(QFileInfo(sortie).absolutePath())
            && (icone                        ? ecrireIcone(images, sortie)
                : sortie.endsWith(u".argb") ? ecrireBrute(images.first(), sortie)
                                             : ecrirePng(images.first(), sortie));
        if (!ecrit) {
            std::fprintf(stderr, "%s : écriture impossible\n", qPrintable(sortie));
            return 1;
        }
    }
    return 0;
}
