#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <csignal>
#include <memory>

namespace {

QByteArray lireLigne(QProcess &copie)
{
    while (!copie.canReadLine()) {
        if (!copie.waitForReadyRead(30000))
            return {};
    }
    return copie.readLine().trimmed();
}

} // namespace

class TestCopieUnique : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void dixCopiesEnMemeTemps_data();
    void dixCopiesEnMemeTemps();

private:
    // A copy that has started and waits for the signal; null if it did not start.
    std::unique_ptr<QProcess> lancer(const QString &signalDepart);

    std::unique_ptr<QTemporaryDir> execution_;
};

void TestCopieUnique::init()
{
    // The lock lives in the runtime folder: a folder of the test's own, away from a real game.
    execution_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", execution_->path().toLocal8Bit());
}

std::unique_ptr<QProcess> TestCopieUnique::lancer(const QString &signalDepart)
{
    auto copie = std::make_unique<QProcess>();
    copie->start(QStringLiteral(PAVORIA_PRENDRE_VERROU), {signalDepart});
    if (lireLigne(*copie) != "prêt")
        copie.reset();
    return copie;
}

void TestCopieUnique::dixCopiesEnMemeTemps_data()
{
    QTest::addColumn<bool>("copieTuee");

    QTest::newRow("first start") << false;
    QTest::newRow("after a copy killed holding the lock") << true;
}

void TestCopieUnique::dixCopiesEnMemeTemps()
{
    // Ten copies that ask at the same moment: exactly one gets the lock, the nine others are
    // refused, whether a killed copy left its lock file behind or not.
    QFETCH(bool, copieTuee);
    bool lu = false;
    const int demandes = qEnvironmentVariableIntValue("PAVORIA_TOURS_COPIES", &lu);
    const int tours = lu && demandes > 0 ? demandes : 10;
    for (int tour = 0; tour < tours; ++tour) {
        const QString signalDepart = execution_->filePath(QStringLiteral("depart-%1").arg(tour));
        if (copieTuee) {
            const QString deja = signalDepart + QStringLiteral("-tuee");
            QFile(deja).open(QIODevice::WriteOnly);
            auto tuee = lancer(deja);
            QVERIFY(tuee);
            QCOMPARE(lireLigne(*tuee), QByteArray("libre"));
            tuee->kill();
            QVERIFY(tuee->waitForFinished());
        }

        std::array<std::unique_ptr<QProcess>, 10> copies;
        for (auto &copie : copies) {
            copie = lancer(signalDepart);
            QVERIFY(copie);
        }
        QFile(signalDepart).open(QIODevice::WriteOnly);
        int libres = 0;
        int pris = 0;
        for (auto &copie : copies) {
            const QByteArray reponse = lireLigne(*copie);
            libres += reponse == "libre";
            pris += reponse == "pris";
        }
        // Only now may the one that got the lock let it go.
        for (auto &copie : copies) {
            copie->closeWriteChannel();
            QVERIFY(copie->waitForFinished(30000));
            QCOMPARE(copie->exitCode(), 0);
        }
        QCOMPARE(libres, 1);
        QCOMPARE(pris, 9);
    }
}

QTEST_GUILESS_MAIN(TestCopieUnique)
#include "tst_copieunique.moc"
