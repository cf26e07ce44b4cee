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
// .ico it is a Windows icon holding the picture at each of the sizes given.

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

// A picture of an icon as Windows has always read one: a BITMAPINFOHEADER of twice the height,
// the straight BGRA rows from the bottom up, then an AND mask left clear, as the alpha decides.
QByteArray dib(const QImage &image)
{
    const QImage bgra = image.convertToFormat(QImage::Format_ARGB32);
    const int ligneMasque = (bgra.width() + 31) / 32 * 4;
    QByteArray octets(40, '\0');
    char *entete = octets.data();
    qToLittleEndian<quint32>(40, entete);
    qToLittleEndian<qint32>(bgra.width(), entete + 4);
    qToLittleEndian<qint32>(2 * bgra.height(), entete + 8);
    qToLittleEndian<quint16>(1, entete + 12);
    qToLittleEndian<quint16>(32, entete + 14);
    qToLittleEndian<quint32>(quint32(bgra.height() * (bgra.width() * 4 + ligneMasque)),
                             entete + 20);
    for (int y = bgra.height() - 1; y >= 0; --y) {
        const auto *ligne = reinterpret_cast<const char *>(bgra.constScanLine(y));
        for (int x = 0; x < bgra.width(); ++x) {
            char pixel[4];
            qToLittleEndian<quint32>(reinterpret_cast<const quint32 *>(ligne)[x], pixel);
            octets.append(pixel, 4);
        }
    }
    octets.append(QByteArray(bgra.height() * ligneMasque, '\0'));
    return octets;
}

// An ICONDIR header, one ICONDIRENTRY a picture, then the pictures: the largest, 256 pixels
// wide, as PNG, which Windows reads in icons since Vista; the others as bitmaps, which every
// reader of icons takes (NSIS's among them). A side of 256 is written 0.
bool ecrireIcone(const QList<QImage> &images, const QString &sortie)
{
    QList<QByteArray> donnees;
    for (const QImage &image : images) {
        if (image.width() > 256 || image.height() > 256)
            return false;
        QBuffer png;
        if (image.width() < 256)
            donnees.append(dib(image));
        else if (png.open(QIODevice::WriteOnly) && ecrirePng(image, png))
            donnees.append(png.data());
        else
            return false;
    }
    QByteArray octets(6 + 16 * images.size(), '\0');
    qToLittleEndian<quint16>(1, octets.data() + 2);
    qToLittleEndian<quint16>(quint16(images.size()), octets.data() + 4);
    qsizetype position = octets.size();
    for (qsizetype i = 0; i < images.size(); ++i) {
        char *entree = octets.data() + 6 + 16 * i;
        entree[0] = char(images[i].width() & 0xff);
        entree[1] = char(images[i].height() & 0xff);
        qToLittleEndian<quint16>(1, entree + 4);
        qToLittleEndian<quint16>(32, entree + 6);
        qToLittleEndian<quint32>(quint32(donnees[i].size()), entree + 8);
        qToLittleEndian<quint32>(quint32(position), entree + 12);
        position += donnees[i].size();
    }
    for (const QByteArray &donnee : donnees)
        octets.append(donnee);
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
