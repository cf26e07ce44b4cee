#include "quiz/Param.h"

#include <QDir>
#include <QTest>

// The texts that start-up derives from the program's folder, version and time stamp.
class TestParam : public QObject
{
    Q_OBJECT

private slots:
    void textesVersionEtDate_data();
    void textesVersionEtDate();
    void chemin_data();
    void chemin();
};

void TestParam::textesVersionEtDate_data()
{
    QTest::addColumn<int>("majeur");
    QTest::addColumn<int>("mineur");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QDateTime>("horodatage");
    QTest::addColumn<QString>("date");

    QTest::newRow("1.6 stamped in the afternoon")
        << 1 << 6 << "1.6" << QDateTime(QDate(2000, 4, 16), QTime(13, 48, 59))
        << QString::fromUtf8("16/04/2000 à 13:48");
    QTest::newRow("minor number never padded or cut")
        << 1 << 10 << "1.10" << QDateTime(QDate(1999, 7, 3), QTime(9, 5))
        << QString::fromUtf8("03/07/1999 à 09:05");
    QTest::newRow("midnight keeps its time")
        << 2 << 0 << "2.0" << QDateTime(QDate(2001, 1, 1), QTime(0, 0))
        << QString::fromUtf8("01/01/2001 à 00:00");
}

void TestParam::textesVersionEtDate()
{
    QFETCH(int, majeur);
    QFETCH(int, mineur);
    QFETCH(QString, version);
    QFETCH(QDateTime, horodatage);
    QFETCH(QString, date);

    QCOMPARE(Param::formerVersion(majeur, mineur), version);
    QCOMPARE(Param::formerDate(horodatage), date);
}

void TestParam::chemin_data()
{
    QTest::addColumn<QString>("dossier");
    QTest::addColumn<QString>("chemin");

    QTest::newRow("folder") << "/opt/pavoria"
                            << "/opt/pavoria/";
    QTest::newRow("root has one separator") << "/"
                                            << "/";
    QTest::newRow("trailing separator kept once") << "/usr/games/"
                                                  << "/usr/games/";
}

void TestParam::chemin()
{
    QFETCH(QString, dossier);
    QFETCH(QString, chemin);
    QCOMPARE(Param::formerChemin(dossier), QDir::toNativeSeparators(chemin));
}

QTEST_GUILESS_MAIN(TestParam)
#include "tst_param.moc"
