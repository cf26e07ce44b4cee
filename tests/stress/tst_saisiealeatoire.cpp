#include "quiz/Param.h"
#include "scores/Enregistre.h"
#include "scores/Scores.h"
#include "tests/support/Application.h"
#include "tests/support/BaseDeTest.h"
#include "tests/support/Joueur.h"
#include "tests/support/PlateformeFactice.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <memory>

namespace {

// Families of characters that a name box meets, or that break naive code: accents and
// ligatures, letters whose full upper case is longer (ß, ŉ, ǰ, ΐ, ﬁ), other scripts and the
// Turkish dotless i, characters beyond the Basic Multilingual Plane (a flag and a skin tone
// are several code points for one character), controls and line breaks, quotes, SQL and HTML
// text, bidirectional marks and right-to-left letters, combining marks and joiners.
const QList<QList<char32_t>> familles = {
    {U'a', U'z', U'M', U'q', U'0', U'7', U' '},
    {U'é', U'è', U'ê', U'ë', U'à', U'ç', U'ô', U'ù', U'ÿ', U'œ', U'æ', U'ĳ', U'É'},
    {U'ß', U'ŉ', U'ǰ', U'ΐ', U'ﬁ', U'ﬂ', U'ﬆ'},
    {U'α', U'ς', U'д', U'ж', U'ı', U'i', U'ǆ', U'ᾳ'},
    {U'😀', U'𝔸', U'𐐨', U'🇫', U'🇷', U'👍', U'🏽'},
    {U'\t', U'\n', U'\r', U'\0', U'\x1b', U'\x7f', U'\u0085', U'\u2028', U'\u2029', U'\ufffc'},
    {U'\'', U'"', U'`', U'’', U'«', U'»'},
    {U';', U'-', U'/', U'*', U'%', U'_', U'(', U')', U'='},
    {U'<', U'>', U'&', U'#', U'!'},
    {U'\u200f', U'\u200e', U'\u202e', U'\u061c', U'א', U'ب'},
    {U'\u0301', U'\u0308', U'\u0327', U'\u20dd', U'\u200d', U'\u200c', U'\ufeff'},
};

// Whole strings of SQL and HTML, which single characters rarely spell.
const QStringList phrases = {
    QStringLiteral("'); DROP TABLE SCORES;--"),
    QStringLiteral("\" OR 1=1 --"),
    QStringLiteral("<b>gras</b>"),
    QStringLiteral("<script>x</script>"),
    QStringLiteral("&amp;&lt;"),
    QStringLiteral("%s%n"),
};

QString texteAuHasard(QRandomGenerator &hasard)
{
    QString texte;
    const int longueur = int(hasard.bounded(0, 24));
    while (texte.size() < longueur) {
        if (hasard.bounded(12) == 0) {
            texte += phrases[hasard.bounded(int(phrases.size()))];
            continue;
        }
        const QList<char32_t> &famille = familles[hasard.bounded(int(familles.size()))];
        const char32_t codePoint = famille[hasard.bounded(int(famille.size()))];
        texte += QString::fromUcs4(&codePoint, 1);
    }
    return texte;
}

int graphemes(const QString &texte)
{
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, texte);
    int nombre = 0;
    while (limites.toNextBoundary() > 0)
        ++nombre;
    return nombre;
}

// True when every code point of the shown text comes, upper-cased, from the input, in order.
bool tireDe(const QString &montre, const QString &entree)
{
    const auto entrees = entree.toUcs4();
    qsizetype i = 0;
    for (const char32_t codePoint : montre.toUcs4()) {
        while (i < entrees.size() && QChar::toUpper(entrees[i]) != codePoint)
            ++i;
        if (i == entrees.size())
            return false;
        ++i;
    }
    return true;
}

// Letters, marks, digits, punctuation, symbols and spaces: what a keyboard types and the box
// shows as itself.
bool ordinaire(char32_t codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return false;
    default: return codePoint != 0xfffc;
    }
}

// Each character's upper-case form, one for one.
QString majuscules(const QString &texte)
{
    QString resultat;
    for (const char32_t codePoint : texte.toUcs4()) {
        const char32_t majuscule = QChar::toUpper(codePoint);
        resultat += QString::fromUcs4(&majuscule, 1);
    }
    return resultat;
}

int nombreDepuisEnvironnement(const char *variable, int defaut)
{
    bool lu = false;
    const int nombre = qEnvironmentVariableIntValue(variable, &lu);
    return lu && nombre > 0 ? nombre : defaut;
}

} // namespace

class TestSaisieAleatoire : public QObject
{
    Q_OBJECT

private slots:
    void nomsAuHasard();
};

void TestSaisieAleatoire::nomsAuHasard()
{
    // Random text typed and pasted into the name box: the box shows it upper-cased, at most
    // fifteen characters as the player sees them and nothing it draws as blanks; the row
    // stored holds it verbatim, the top ten reads it back so, and no other row changes.
    const int cas = nombreDepuisEnvironnement("PAVORIA_CAS_SAISIE", 300);
    const auto graine = quint32(nombreDepuisEnvironnement("PAVORIA_GRAINE", 1515));
    QRandomGenerator hasard(graine);
    BaseDeTest base;
    PlateformeFactice plateforme;
    Param param;
    param.Chemin = Param::formerChemin(base.dossier());
    param.FichierBase = base.fichier();
    int stockes = 0;

    for (int numero = 0; numero < cas; ++numero) {
        const QString tape = texteAuHasard(hasard);
        const QString colle = hasard.bounded(3) == 0 ? texteAuHasard(hasard) : QString();
        const QString contexte = QStringLiteral("case %1 (seed %2): typed \"%3\", pasted \"%4\"")
                                     .arg(numero)
                                     .arg(graine)
                                     .arg(tape, colle);
        param.Points = qint16(1000 + numero);
        const QList<ControleDonnees::LigneScore> avant = base.scores();
        plateforme.messages.clear();

        Enregistre dialogue(param, plateforme, plateforme);
        auto *saisie = dialogue.findChild<QLineEdit *>(QStringLiteral("SaisieNom"));
        Joueur::taper(saisie, tape);
        if (!colle.isEmpty()) {
            QGuiApplication::clipboard()->setText(colle);
            QTest::keyClick(saisie, Qt::Key_V, Qt::ControlModifier);
        }
        const QString montre = saisie->text();
        QVERIFY2(saisie->displayText() == montre, qPrintable(contexte));
        QVERIFY2(graphemes(montre) <= Enregistre::longueurNom, qPrintable(contexte));
        for (const char32_t codePoint : montre.toUcs4())
            QVERIFY2(QChar::toUpper(codePoint) == codePoint, qPrintable(contexte));
        QVERIFY2(tireDe(montre, tape + colle), qPrintable(contexte));
        // Nothing is lost of ordinary text that fits.
        const auto codes = tape.toUcs4();
        if (colle.isEmpty() && std::all_of(codes.begin(), codes.end(), ordinaire)
            && graphemes(tape) <= Enregistre::longueurNom)
            QVERIFY2(montre == majuscules(tape), qPrintable(contexte));

        dialogue.findChild<QPushButton *>(QStringLiteral("Valider"))->click();
        QList<ControleDonnees::LigneScore> attendues = avant;
        if (montre.isEmpty()) {
            QCOMPARE(plateforme.messages.size(), 1);
            QCOMPARE(plateforme.messages[0].texte,
                     QStringLiteral("Saisissez au moins une lettre !!!"));
        } else {
            QVERIFY2(plateforme.messages.isEmpty(), qPrintable(contexte));
            attendues.removeLast(); // the lowest: every score here beats the ones before
            attendues.prepend({montre, param.Points, plateforme.horloge.date()});
            ++stockes;
        }

        const QList<ControleDonnees::LigneScore> apres = base.scores();
        QCOMPARE(apres.size(), 10);
        for (qsizetype i = 0; i < apres.size(); ++i) {
            QVERIFY2(apres[i].NOM == attendues[i].NOM, qPrintable(contexte));
            QCOMPARE(apres[i].SCORE, attendues[i].SCORE);
            QCOMPARE(apres[i].DATE, attendues[i].DATE);
        }
        Scores dixMeilleurs(param);
        QVERIFY(dixMeilleurs.Form_Load());
        const QAbstractItemModel *modele =
            dixMeilleurs.findChild<QAbstractItemView *>(QStringLiteral("Grille"))->model();
        QCOMPARE(modele->rowCount(), int(attendues.size()));
        for (int ligne = 0; ligne < modele->rowCount(); ++ligne)
            QVERIFY2(modele->index(ligne, 0).data().toString() == attendues[ligne].NOM,
                     qPrintable(contexte));
    }
    qInfo("%d names (seed %u), %d of them stored", cas, graine, stockes);
}

PAVORIA_TEST_MAIN(TestSaisieAleatoire)
#include "tst_saisiealeatoire.moc"
