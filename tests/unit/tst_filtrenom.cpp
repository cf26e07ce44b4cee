#include "scores/FiltreNom.h"

#include <QTest>

// The name box's filter on its own: what a keystroke or a paste at a given cursor becomes.
class TestFiltreNom : public QObject
{
    Q_OBJECT

private slots:
    void valider_data();
    void valider();
    void longueurVisible_data();
    void longueurVisible();
};

void TestFiltreNom::valider_data()
{
    QTest::addColumn<QString>("texte"); // the box's text once the key or paste went in
    QTest::addColumn<int>("curseur");   // just after what went in
    QTest::addColumn<QString>("resultat");
    QTest::addColumn<int>("curseurApres");

    QTest::newRow("typed at the end") << "DUPONt" << 6 << "DUPONT" << 6;
    QTest::newRow("typed in the middle") << "DUéONT" << 3 << "DUÉONT" << 3;
    QTest::newRow("pasted in the middle keeps what fits and the tail")
        << "ABCDEFGHIJxyzwvuKLM" << 16 << "ABCDEFGHIJXYKLM" << 12;
    QTest::newRow("pasted at the start of a full box takes nothing")
        << "zzABCDEFGHIJKLMNO" << 2 << "ABCDEFGHIJKLMNO" << 0;
    QTest::newRow("a tab and a line break are left out, the cursor follows")
        << "A\tB\nC" << 5 << "ABC" << 3;
    QTest::newRow("an accent joining the fifteenth letter is taken")
        << QString::fromUtf8("ABCDEFGHIJKLMNe\u0301") << 16
        << QString::fromUtf8("ABCDEFGHIJKLMNE\u0301") << 16;
}

void TestFiltreNom::valider()
{
    QFETCH(QString, texte);
    QFETCH(int, curseur);
    QFETCH(QString, resultat);
    QFETCH(int, curseurApres);

    const FiltreNom filtre(15);
    QCOMPARE(filtre.validate(texte, curseur), QValidator::Acceptable);
    QCOMPARE(texte, resultat);
    QCOMPARE(curseur, curseurApres);
}

void TestFiltreNom::longueurVisible_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("longueur");

    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letter and combining accent") << QString::fromUtf8("e\u0301") << 1;
    QTest::newRow("outside the BMP") << QString::fromUtf8("😀") << 1;
    QTest::newRow("a flag of two regional indicators") << QString::fromUtf8("🇫🇷") << 1;
    QTest::newRow("sharp s, one for one") << QString::fromUtf8("ß") << 1;
}

void TestFiltreNom::longueurVisible()
{
    QFETCH(QString, texte);
    QFETCH(int, longueur);
    QCOMPARE(FiltreNom::longueurVisible(texte), longueur);
    QCOMPARE(FiltreNom::longueurVisible(FiltreNom::enMajuscules(texte)), longueur);
}

QTEST_GUILESS_MAIN(TestFiltreNom)
#include "tst_filtrenom.moc"
