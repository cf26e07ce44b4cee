#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QSqlDatabase;

// Builds the game database from the country list and the flag pictures. A failure leaves the
// output file as it was and explains itself in erreur(), naming the file and line at fault.
// The list's lines starting with '#' are comments. Each flag's picture is the PNG of the flags'
// folder named by its code.
class ConstructeurBase
{
public:
    ConstructeurBase(QString fichierPays, QString dossierDrapeaux, QString fichierSortie);

    [[nodiscard]] bool construire();
    [[nodiscard]] const QString &erreur() const { return erreur_; }

    // The picture stored for one flag: the flag in its own proportions, centred on the grey of
    // the panel that carries it, so that the stretched image of the main window distorts nothing.
    [[nodiscard]] static QImage composerDessin(const QImage &drapeau);
    // Where composerDessin lays a flag of that size within Schema::tailleDessin. With the grey
    // and the scaling below, every setting of the picture stored: the flags' version follows
    // them (tests/unit/tst_basedejeu.cpp).
    [[nodiscard]] static QRect placeDrapeau(QSize drapeau);
    static constexpr QRgb grisPanneau = qRgb(192, 192, 192);
    static constexpr Qt::TransformationMode miseAEchelle = Qt::SmoothTransformation;

private:
    struct Pays
    {
        qsizetype ligne = 0;
        int numero = 0;
        QString iso;
        QString nom;
        QString drapeau; // the picture's file
        QByteArray dessin;
    };
    using LigneScore = QList<QVariant>; // NOM, SCORE, DATE, as stored

    [[nodiscard]] std::optional<QList<Pays>> lirePays();
    [[nodiscard]] std::optional<QString> decoderLigne(QByteArrayView octets, qsizetype ligne);
    [[nodiscard]] std::optional<Pays> lireLigne(const QString &texte, qsizetype ligne);
    [[nodiscard]] bool verifierNouveau(const Pays &unPays, const QList<Pays> &dejaLus);
    [[nodiscard]] bool trouverDrapeau(Pays &unPays);
    [[nodiscard]] bool verifierComplet(bool enTeteLu, const QList<Pays> &pays);
    [[nodiscard]] bool composerDessins(QList<Pays> &pays);
    [[nodiscard]] std::optional<QList<LigneScore>> lireScores();
    [[nodiscard]] bool ecrireBase(const QList<Pays> &pays, const QList<LigneScore> &scores);
    // Both tables and the version in one transaction; an error text, empty on success.
    [[nodiscard]] static QString remplir(QSqlDatabase &base, const QList<Pays> &pays,
                                         const QList<LigneScore> &scores);

    bool refuser(qsizetype ligne, const QString &message); // names the list's file and line
    bool echouer(const QString &message);

    QString fichierPays_;
    QString dossierDrapeaux_;
    QString fichierSortie_;
    QString erreur_;
};
