#include "widgets/Icones.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QtEndian>

#include <cstring>

namespace {

// The raw format written by assets/RenduImage: width, height, then premultiplied ARGB32 pixels.
// A PNG decode of the same pictures took most of the time start-up spent on them.
QImage imageBrute(const QString &chemin)
{
    const QResource ressource(chemin);
    if (!ressource.isValid())
        return {};
    const QByteArray octets = ressource.uncompressedData();
    if (octets.size() < 8)
        return {};
    const auto largeur = qFromLittleEndian<quint32>(octets.constData());
    const auto hauteur = qFromLittleEndian<quint32>(octets.constData() + 4);
    if (largeur == 0 || hauteur == 0 || largeur > 4096 || hauteur > 4096
        || octets.size() != 8 + 4 * qsizetype(largeur) * qsizetype(hauteur))
        return {};
    QImage image(int(largeur), int(hauteur), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    const char *pixels = octets.constData() + 8;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        // The stored order is the machine's: one copy (an ARGB32 line has no padding).
        std::memcpy(image.bits(), pixels, std::size_t(image.sizeInBytes()));
    } else {
        for (int ligne = 0; ligne < image.height(); ++ligne) {
            auto *rangee = reinterpret_cast<QRgb *>(image.scanLine(ligne));
            for (int colonne = 0; colonne < image.width(); ++colonne, pixels += 4)
                rangee[colonne] = qFromLittleEndian<quint32>(pixels);
        }
    }
    return image;
}

} // namespace

QIcon Icones::programme()
{
    // Built once: every window shares it.
    static const QIcon icone = [] {
        QIcon resultat;
        for (const int cote : {16, 24, 32, 48, 64, 128})
            resultat.addPixmap(
                QPixmap::fromImage(imageBrute(QStringLiteral(":/icone-%1.argb").arg(cote))));
        return resultat;
    }();
    return icone;
}

QIcon Icones::image(const QString &nom, const QTransform &transformation)
{
    const auto tourner = [&](const QImage &image) {
        if (transformation.isIdentity())
            return image;
        QImage tournee = image.transformed(transformation);
        tournee.setDevicePixelRatio(image.devicePixelRatio());
        return tournee;
    };
    const QImage simple = imageBrute(nom + QStringLiteral(".argb"));
    if (simple.isNull())
        return QIcon(nom + QStringLiteral(".png"));
    QIcon icone;
    icone.addPixmap(QPixmap::fromImage(tourner(simple)));
    if (qApp->devicePixelRatio() > 1) {
        QImage double_ = imageBrute(nom + QStringLiteral("@2x.argb"));
        double_.setDevicePixelRatio(2);
        icone.addPixmap(QPixmap::fromImage(tourner(double_)));
    }
    return icone;
}
