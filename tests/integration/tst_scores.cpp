#include "quiz/Param.h"
#include "scores/Scores.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/FichierJeu.h"
#include "widgets/Bouton3D.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

QTableView *grille(Scores &fenetre)
{
    return fenetre.findChild<QTableView *>(QStringLiteral("Grille"));
}

Bouton3D *bouton(Scores &fenetre)
{
    return fenetre.findChild<Bouton3D *>(QStringLiteral("ValiderListeScores"));
}

QStringList colonne(QTableView *vue, int numero)
{
    QStringList cellules;
    for (int ligne = 0; ligne < vue->model()->rowCount(); ++ligne)
        cellules << vue->model()->index(ligne, numero).data().toString();
    return cellules;
}

} // namespace

class TestScores : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void lignesDecroissantes_data();
    void lignesDecroissantes();
    void dixLignesEntieresEnBleuSurGris();
    void grilleSansSaisie_data();
    void grilleSansSaisie();
    void centresSurLaLargeurExterieure();
    void scoreEcritVuALOuvertureSuivante();
    void fermetureFermeLaBase_data();
    void fermetureFermeLaBase();
    void fichierInutilisable_data();
    void fichierInutilisable();

private:
    std::unique_ptr<Scores> ouvrir();

    std::unique_ptr<BaseDeTest> base_;
    Param param_;
};

void TestScores::init()
{
    base_ = std::make_unique<BaseDeTest>();
    param_.FichierBase = base_->fichier();
}

std::unique_ptr<Scores> TestScores::ouvrir()
{
    auto fenetre = std::make_unique<Scores>(param_);
    if (!fenetre->Form_Load())
        qFatal("%s", qPrintable(fenetre->erreur()));
    fenetre->show();
    if (!QTest::qWaitForWindowExposed(fenetre.get()))
        qFatal("window not exposed");
    return fenetre;
}

void TestScores::lignesDecroissantes_data()
{
    QTest::addColumn<QList<int>>("scores"); // in the table's row order, named J0 to J9
    QTest::addColumn<QString>("noms");      // the grid's NOM column, top to bottom
    QTest::addColumn<QString>("points");

    QTest::newRow("distinct") << QList<int>{4, 40, 12, 36, 8, 32, 16, 28, 20, 24}
                              << "J1 J3 J5 J7 J9 J8 J6 J2 J4 J0"
                              << "40 36 32 28 24 20 16 12 8 4";
    QTest::newRow("ties") << QList<int>{10, 30, 10, 20, 30, 0, 20, 10, 0, 30}
                          << "J1 J4 J9 J3 J6 J0 J2 J7 J5 J8"
                          << "30 30 30 20 20 10 10 10 0 0";
    QTest::newRow("all equal") << QList<int>(10, 7) << "J0 J1 J2 J3 J4 J5 J6 J7 J8 J9"
                               << "7 7 7 7 7 7 7 7 7 7";
}

// Highest score first; equal scores keep the table's row order.
void TestScores::lignesDecroissantes()
{
    QFETCH(QList<int>, scores);
    QFETCH(QString, noms);
    QFETCH(QString, points);

    base_->fixerScores(scores);
    auto fenetre = ouvrir();
    QCOMPARE(colonne(grille(*fenetre), 0).join(u' '), noms);
    QCOMPARE(colonne(grille(*fenetre), 1).join(u' '), points);
}

// Ten rows of three columns at their widths and alignments, drawn whole in blue on light
// grey although the grid is disabled, with no header and nothing to scroll.
void TestScores::dixLignesEntieresEnBleuSurGris()
{
    auto fenetre = ouvrir();
    QTableView *vue = grille(*fenetre);
    QCOMPARE(vue->model()->rowCount(), 10);
    QCOMPARE(vue->model()->columnCount(), 3);
    // 2500, 1000 and 2500 twips, rounded at their edges so that they fill the 400-px grid.
    const int largeurs[] = {167, 66, 167};
    const int alignements[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignHCenter};
    for (int numero = 0; numero < 3; ++numero) {
        QCOMPARE(vue->columnWidth(numero), largeurs[numero]);
        const QVariant alignement = vue->model()->index(9, numero).data(Qt::TextAlignmentRole);
        QCOMPARE(alignement.toInt() & Qt::AlignHorizontal_Mask, alignements[numero]);
    }
    QVERIFY(vue->horizontalHeader()->isHidden() && vue->verticalHeader()->isHidden());
    QCOMPARE(vue->verticalScrollBar()->maximum(), 0);
    QCOMPARE(vue->horizontalScrollBar()->maximum(), 0);
    QVERIFY(vue->rowViewportPosition(9) + vue->rowHeight(9) <= vue->viewport()->height());
    QVERIFY(QFontMetrics(vue->font()).height() <= vue->rowHeight(0));

    QVERIFY(!vue->isEnabled());
    const QImage image = vue->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(QColor(image.pixel(image.width() - 1, image.height() - 1)), QColor(192, 192, 192));
    for (int ligne = 0; ligne < 10; ++ligne) {
        bool bleu = false;
        const int haut = vue->rowViewportPosition(ligne);
        for (int y = haut; y < haut + vue->rowHeight(ligne) && !bleu; ++y)
            for (int x = 0; x < image.width() && !bleu; ++x)
                bleu = QColor(image.pixel(x, y)) == QColor(0, 0, 255);
        QVERIFY2(bleu, qPrintable(QStringLiteral("row %1").arg(ligne)));
    }
}

void TestScores::grilleSansSaisie_data()
{
    QTest::addColumn<int>("touche"); // 0: mouse clicks instead

    QTest::newRow("clicks") << 0;
    QTest::newRow("letter") << int(Qt::Key_A);
    QTest::newRow("arrow") << int(Qt::Key_Down);
    QTest::newRow("delete") << int(Qt::Key_Delete);
    QTest::newRow("F2") << int(Qt::Key_F2);
}

// Clicking or typing in the grid changes nothing: no edit, no current row, no focus taken.
void TestScores::grilleSansSaisie()
{
    QFETCH(int, touche);

    auto fenetre = ouvrir();
    QTableView *vue = grille(*fenetre);
    const QStringList avant = colonne(vue, 0) + colonne(vue, 1) + colonne(vue, 2);
    if (touche == 0) {
        const QPoint cellule = vue->visualRect(vue->model()->index(2, 0)).center();
        QTest::mouseClick(vue->viewport(), Qt::LeftButton, {}, cellule);
        QTest::mouseDClick(vue->viewport(), Qt::LeftButton, {}, cellule);
    } else {
        QTest::keyClick(vue, Qt::Key(touche));
    }
    QCOMPARE(colonne(vue, 0) + colonne(vue, 1) + colonne(vue, 2), avant);
    QVERIFY(!vue->currentIndex().isValid());
    QVERIFY(!vue->selectionModel()->hasSelection());
    QVERIFY(vue->viewport()->findChildren<QWidget *>().isEmpty()); // no editor opened
    QCOMPARE(fenetre->focusWidget(), bouton(*fenetre));
    QVERIFY(fenetre->isVisible() && fenetre->baseOuverte());
}

// Button and grid are centred on the window's outer width, border included.
void TestScores::centresSurLaLargeurExterieure()
{
    auto fenetre = ouvrir();
    const int exterieur = fenetre->frameGeometry().width();
    QVERIFY(exterieur > fenetre->width()); // else this test cannot tell the two widths apart
    for (QWidget *controle : std::initializer_list<QWidget *>{bouton(*fenetre), grille(*fenetre)})
        QVERIFY2(qAbs(2 * controle->x() + controle->width() - exterieur) <= 1,
                 qPrintable(controle->objectName()));
}

// Each opening reads the table afresh: a score written in between shows, dated dd/MM/yyyy.
void TestScores::scoreEcritVuALOuvertureSuivante()
{
    ouvrir()->close();
    {
        ControleDonnees ecriture(QStringLiteral("tst.ecriture"), ControleDonnees::Acces::Ecriture);
        QVERIFY(ecriture.ouvrirScores(base_->fichier()));
        QVERIFY(ecriture.remplacerPlusPetitScore(QStringLiteral("ZOÉ"), 999, QDate(2026, 3, 9)));
    }
    auto fenetre = ouvrir();
    QCOMPARE(grille(*fenetre)->model()->rowCount(), 10);
    QCOMPARE(colonne(grille(*fenetre), 0).first(), QStringLiteral("ZOÉ"));
    QCOMPARE(colonne(grille(*fenetre), 1).first(), QStringLiteral("999"));
    QCOMPARE(colonne(grille(*fenetre), 2).first(), QStringLiteral("09/03/2026"));
}

void TestScores::fermetureFermeLaBase_data()
{
    QTest::addColumn<QString>("geste");
    QTest::addColumn<int>("resultat");

    QTest::newRow("button") << "click" << int(QDialog::Accepted);
    QTest::newRow("space on the focus") << "space" << int(QDialog::Accepted);
    QTest::newRow("escape") << "escape" << int(QDialog::Rejected);
    QTest::newRow("title bar") << "close" << int(QDialog::Rejected);
}

// The database stays open from the load until the window goes, however it is closed.
void TestScores::fermetureFermeLaBase()
{
    QFETCH(QString, geste);
    QFETCH(int, resultat);

    auto fenetre = ouvrir();
    QVERIFY(fenetre->baseOuverte());
    if (geste == u"click")
        bouton(*fenetre)->click();
    else if (geste == u"space")
        QTest::keyClick(fenetre->focusWidget(), Qt::Key_Space);
    else if (geste == u"escape")
        QTest::keyClick(fenetre.get(), Qt::Key_Escape);
    else
        fenetre->close();
    QVERIFY(!fenetre->isVisible());
    QCOMPARE(fenetre->result(), resultat);
    QVERIFY(!fenetre->baseOuverte());
}

void TestScores::fichierInutilisable_data()
{
    QTest::addColumn<QString>("panne");

    QTest::newRow("missing") << "missing";
    QTest::newRow("not a database") << "garbage";
    QTest::newRow("no score table") << "DROP TABLE SCORES";
    QTest::newRow("no date field") << "ALTER TABLE SCORES DROP COLUMN DATE";
}

// A file that cannot give the table fails the load with a message naming the file.
void TestScores::fichierInutilisable()
{
    QFETCH(QString, panne);

    if (panne == u"missing") {
        QVERIFY(QFile::remove(base_->fichier()));
    } else if (panne == u"garbage") {
        QFile fichier(base_->fichier());
        QVERIFY(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fichier.write(QByteArray(4096, 'x'));
    } else {
        FichierJeu::executerSql(base_->fichier(), {panne});
    }
    Scores fenetre(param_);
    QVERIFY(!fenetre.Form_Load());
    QVERIFY2(fenetre.erreur().contains(base_->fichier()), qPrintable(fenetre.erreur()));
    QVERIFY(!fenetre.baseOuverte());
    // Never created to stand in for a missing one.
    QCOMPARE(QFile::exists(base_->fichier()), panne != u"missing");
}

PAVORIA_TEST_MAIN(TestScores)
#include "tst_scores.moc"
