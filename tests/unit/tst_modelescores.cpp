#include "scores/ModeleScores.h"

#include <QSignalSpy>
#include <QTest>

// The top-ten grid's model on its own: what each cell shows and how, and that nothing in it can
// be selected or edited.
class TestModeleScores : public QObject
{
    Q_OBJECT

private slots:
    void cellules();
    void alignements();
    void entetesEtDrapeaux();
};

namespace {

QList<ControleDonnees::LigneScore> lignes()
{
    return {{QStringLiteral("ZOÉ"), 75, QDate(2026, 12, 9)},
            {QStringLiteral("O'BRIEN"), 0, QDate()}};
}

} // namespace

void TestModeleScores::cellules()
{
    ModeleScores modele;
    QCOMPARE(modele.rowCount(), 0);
    modele.remplacerLignes(lignes());
    QCOMPARE(modele.rowCount(), 2);
    QCOMPARE(modele.columnCount(), 3);
    QCOMPARE(modele.index(0, 0).data(), QVariant(QStringLiteral("ZOÉ")));
    QCOMPARE(modele.index(0, 1).data(), QVariant(75));
    QCOMPARE(modele.index(0, 2).data(), QVariant(QStringLiteral("09/12/2026")));
    // A date the table could not give back shows blank.
    QCOMPARE(modele.index(1, 2).data(), QVariant(QString()));
    QCOMPARE(modele.index(1, 0).data(), QVariant(QStringLiteral("O'BRIEN")));
    QVERIFY(!modele.index(2, 0).data().isValid());
    // A table has no children.
    QCOMPARE(modele.rowCount(modele.index(0, 0)), 0);
}

void TestModeleScores::alignements()
{
    ModeleScores modele;
    modele.remplacerLignes(lignes());
    QSignalSpy changements(&modele, &QAbstractItemModel::dataChanged);
    const auto alignement = [&](int colonne) {
        return Qt::Alignment(modele.index(0, colonne).data(Qt::TextAlignmentRole).toInt());
    };
    QCOMPARE(alignement(1), Qt::AlignLeft | Qt::AlignVCenter);
    modele.fixerAlignement(1, Qt::AlignHCenter);
    QCOMPARE(alignement(1), Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(changements.size(), 1);
    modele.fixerAlignement(3, Qt::AlignRight); // no such column
    QCOMPARE(changements.size(), 1);
}

void TestModeleScores::entetesEtDrapeaux()
{
    ModeleScores modele;
    modele.remplacerLignes(lignes());
    QCOMPARE(modele.headerData(0, Qt::Horizontal), QVariant(QStringLiteral("NOM")));
    QCOMPARE(modele.headerData(1, Qt::Horizontal), QVariant(QStringLiteral("SCORE")));
    QCOMPARE(modele.headerData(2, Qt::Horizontal), QVariant(QStringLiteral("DATE")));
    const Qt::ItemFlags drapeaux = modele.flags(modele.index(0, 0));
    QVERIFY(drapeaux.testFlag(Qt::ItemIsEnabled));
    QVERIFY(!drapeaux.testFlag(Qt::ItemIsSelectable));
    QVERIFY(!drapeaux.testFlag(Qt::ItemIsEditable));
}

QTEST_GUILESS_MAIN(TestModeleScores)
#include "tst_modelescores.moc"
