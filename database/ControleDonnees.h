#pragma once

#include <QDate>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class QSqlDatabase;
class QSqlError;

// One window's connection to the game database: the flag look-ups of the question turn and
// the score table of the score windows. Each instance has a connection of its own, named after
// its role and the instance, so that several can be open on the file at once. Every call that
// can fail returns an empty result or false and leaves a French message naming the file and
// the fault in erreur().
class ControleDonnees
{
public:
    struct LigneScore
    {
        QString NOM;
        int SCORE = 0;
        QDate DATE;
    };

    enum class Acces { Lecture, Ecriture };

    // role: who opens it ("DataImages", "Scores.DataScores"...), for the connection's name.
    ControleDonnees(const QString &role, Acces acces);
    ~ControleDonnees();
    ControleDonnees(const ControleDonnees &) = delete;
    ControleDonnees &operator=(const ControleDonnees &) = delete;

    // Opens the file afresh, closing what was open, and checks the table the caller uses:
    // its fields, and every flag number or the ten score rows. It never creates the file.
    bool ouvrirDrapeaux(const QString &fichier);
    bool ouvrirScores(const QString &fichier);
    void fermer();
    bool estOuvert() const;

    std::optional<QString> paysDuNumero(int numero);
    // The flag picture as stored (PNG), then decoded.
    std::optional<QByteArray> dessinDuPays(const QString &pays);
    std::optional<QImage> drapeauDuPays(const QString &pays);
    // Empties SQLite's page cache, so that the next look-ups read the file as they would right
    // after an opening: what the benchmarks of a turn's look-ups measure.
    bool viderCache();

    std::optional<int> plusPetitScore();
    // Overwrites the lowest row (the first of the ascending order among ties), in one transaction.
    bool remplacerPlusPetitScore(const QString &nom, int score, const QDate &date);
    std::optional<QList<LigneScore>> scoresDecroissants();

    QString erreur() const { return erreur_; }

private:
    bool ouvrir(const QString &fichier, const QString &table, const QStringList &champs);
    bool regler();
    bool reglerPragma(const QString &pragma, const QString &valeur, const QString &valeurLue);
    bool verifierTable(const QString &table, const QStringList &champs);
    bool verifierNumeros();
    bool verifierNombreScores();
    QSqlDatabase base() const;
    bool echouer(const QString &faute);
    bool echouerBase(const QSqlError &erreur);
    bool echouerOuvert(const QSqlError &erreur); // closes the connection first

    QString nomConnexion_;
    Acces acces_;
    QString fichier_;
    QString erreur_;
};
