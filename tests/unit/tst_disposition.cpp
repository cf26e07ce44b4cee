#include "app/Disposition.h"

#include <QTest>

// The main window's layout against the screen, in twips, with no window.
class TestDisposition : public QObject
{
    Q_OBJECT

private slots:
    void dispositionContreEcran_data();
    void dispositionContreEcran();
    void positionsDesMasques();
};

void TestDisposition::dispositionContreEcran_data()
{
    QTest::addColumn<float>("largeurEcran");
    QTest::addColumn<float>("hauteurFenetre");
    QTest::addColumn<float>("gaucheCadres");
    QTest::addColumn<float>("hautBoiteImage");
    QTest::addColumn<float>("hautBoiteBoutons");

    // Bands: toolbar 630 + flag area 2295 + answer area 2775 + status bar 345 = 6045 twips.
    QTest::newRow("1600 x 1000 screen") << 24000.0f << 15000.0f << 8032.5f << 3615.0f << 8895.0f;
    QTest::newRow("design size") << 11880.0f << 8250.0f << 1972.5f << 1365.0f << 4395.0f;
    QTest::newRow("narrow screen gives a negative Left")
        << 6000.0f << 9045.0f << -967.5f << 1630.0f << 4925.0f;
    QTest::newRow("low window gives a negative gap")
        << 12000.0f << 5145.0f << 2032.5f << 330.0f << 2325.0f;
}

void TestDisposition::dispositionContreEcran()
{
    QFETCH(float, largeurEcran);
    QFETCH(float, hauteurFenetre);
    QFETCH(float, gaucheCadres);
    QFETCH(float, hautBoiteImage);
    QFETCH(float, hautBoiteBoutons);

    const Disposition d = Disposition::calculer(largeurEcran, hauteurFenetre);
    QCOMPARE(float(d.boiteImage.left()), gaucheCadres);
    QCOMPARE(float(d.boiteBoutons.left()), gaucheCadres);
    QCOMPARE(float(d.boiteImage.top()), hautBoiteImage);
    QCOMPARE(float(d.boiteBoutons.top()), hautBoiteBoutons);
    // The flag panel and the flag are centred whatever the screen.
    QCOMPARE(d.supportImage.left(), 2460.0);
    QCOMPARE(d.dessin1.topLeft(), QPointF(120, 120));
    QCOMPARE(d.masqueGauche.left(), 1762.5);
    QCOMPARE(d.masqueDroit.left(), 3967.5);
}

void TestDisposition::positionsDesMasques()
{
    const Disposition d = Disposition::calculer(24000, 15000);
    QCOMPARE(d.masqueGaucheFerme(), 1762.5f);
    QCOMPARE(d.masqueDroitFerme(), 3967.5f);
    const float largeurMasque = float(d.masqueGauche.width());
    QCOMPARE(d.masqueGaucheFerme() + largeurMasque, d.masqueDroitFerme());
    // Open, the masks leave exactly the flag panel free.
    QCOMPARE(d.masqueGaucheOuvert() + largeurMasque, float(d.supportImage.left()));
    QCOMPARE(d.masqueDroitOuvert(), float(d.supportImage.right()));
    // Closed, they cover the flag panel with a margin on every side.
    const QRectF couverture(d.masqueGaucheFerme(), d.masqueGauche.top(), 2 * d.masqueGauche.width(),
                            d.masqueGauche.height());
    QVERIFY(couverture.contains(d.supportImage));
    QVERIFY(couverture.adjusted(1, 1, -1, -1).contains(d.supportImage));
}

QTEST_GUILESS_MAIN(TestDisposition)
#include "tst_disposition.moc"
