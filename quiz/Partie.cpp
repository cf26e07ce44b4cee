#include "quiz/Partie.h"

#include "core/Plateforme.h"
#include "database/Schema.h"

#include <QRandomGenerator>

#include <algorithm>

Partie::Partie(Param &param, Plateforme &plateforme, QRandomGenerator &hasard, QObject *parent)
    : QObject(parent)
    , param_(param)
    , plateforme_(plateforme)
    , hasard_(hasard)
    , DataImages(QStringLiteral("DataImages"), ControleDonnees::Acces::Lecture)
{
}

void Partie::viderCompteurs()
{
    effacerCompteurs();
    montrer();
}

void Partie::effacerCompteurs()
{
    param_.NumeroJeu = 0;
    affichage_.comptePartie.clear();
    param_.Points = 0;
    affichage_.score.clear();
    affichage_.resultat.clear();
}

void Partie::NouvellePartie()
{
    ++parties_;
    param_.CompteTours = 0;
    fermerMasques();
    viderReponses();
    effacerCompteurs();
    montrer();
    NouvelleQuestion();
    affichage_.reponsesActives = {true, true, true};
    montrer();
}

void Partie::NouvelleQuestion()
{
    ++param_.CompteTours;
    FinDePartie();
    if (param_.CompteTours == nombreQuestions + 1)
        return;

    if (param_.NumeroJeu > 0 && !montrerVerdict())
        return;
    ++param_.NumeroJeu;
    affichage_.comptePartie = QStringLiteral("Jeu n° ") + QString::number(param_.NumeroJeu);
    tirerQuestion();
}

bool Partie::montrerVerdict()
{
    // The verdict and the new score show over the closed masks, then stay while the flag
    // changes. Quitting or a new game during the wait ends this turn where it stands.
    fermerMasques();
    montrer();
    const quint64 partie = parties_;
    const bool ecoulee = plateforme_.patienter(dureeVerdict);
    return ecoulee && partie == parties_;
}

void Partie::tirerQuestion()
{
    param_.BonneReponse = static_cast<int>(hasard_.bounded(1, 4));
    std::array<int, 3> numeros{};
    for (std::size_t i = 0; i < numeros.size(); ++i) {
        int numero = 0;
        do {
            numero = static_cast<int>(hasard_.bounded(1, Schema::nombreDrapeaux + 1));
        } while (
            std::find(numeros.begin(), numeros.begin() + static_cast<std::ptrdiff_t>(i), numero)
            != numeros.begin() + static_cast<std::ptrdiff_t>(i));
        numeros[i] = numero;
    }
    if (!poserQuestion(numeros))
        return;

    // The buttons come back live with the names they now carry, as the masks open on their flag.
    affichage_.resultat.clear();
    affichage_.reponsesActives = {true, true, true};
    affichage_.masquesFermes = false;
    montrer();
    plateforme_.traiterEvenements();
}

bool Partie::poserQuestion(const std::array<int, 3> &numeros)
{
    // The database is opened afresh at every turn, as the game always has.
    if (!DataImages.ouvrirDrapeaux(param_.FichierBase)) {
        signalerPanne(DataImages.erreur());
        return false;
    }
    for (std::size_t i = 0; i < numeros.size(); ++i) {
        const std::optional<QString> pays = DataImages.paysDuNumero(numeros[i]);
        if (!pays) {
            signalerPanne(DataImages.erreur());
            return false;
        }
        affichage_.reponses[i] = *pays;
    }
    // The flag is found from the right button's caption, read back.
    const std::optional<QImage> drapeau = DataImages.drapeauDuPays(
        affichage_.reponses[static_cast<std::size_t>(param_.BonneReponse - 1)]);
    if (!drapeau) {
        signalerPanne(DataImages.erreur());
        return false;
    }
    affichage_.drapeau = *drapeau;
    return true;
}

void Partie::FinDePartie()
{
    if (param_.CompteTours != nombreQuestions + 1)
        return;

    emit messageDemande(Param::titreMessages(),
                        QStringLiteral("Cette partie est terminée !!\n\nVotre score est de ")
                            + QString::number(param_.Points) + QStringLiteral(" Points !"));
    emit enregistrementDemande();
    fermerMasques();
    viderReponses();
    affichage_.reponsesActives = {false, false, false};
    effacerCompteurs();
    montrer();
}

void Partie::Repondre(int n)
{
    const auto index = static_cast<std::size_t>(n - 1);
    // A disabled button delivers no click.
    if (n < 1 || n > 3 || !affichage_.reponsesActives[index])
        return;

    affichage_.resultat.clear();
    if (param_.BonneReponse == n) {
        const Essai essai = essaiDeLaBonneReponse(n);
        param_.Points = static_cast<qint16>(param_.Points + essai.points);
        affichage_.resultat = QString::fromUtf16(essai.verdict);
        affichage_.score = QString::number(param_.Points) + QStringLiteral(" points");
        // Until the next question puts its names on them, the buttons carry those just
        // answered, through the verdict's wait or under the end-of-game message: none may look
        // or act clickable, and a greyed one stays grey.
        affichage_.reponsesActives = {false, false, false};
        montrer();
        NouvelleQuestion();
    } else {
        affichage_.resultat = QStringLiteral("PERDU");
        affichage_.reponsesActives[index] = false;
        montrer();
    }
}

Partie::Essai Partie::essaiDeLaBonneReponse(int n) const
{
    // The tries are not counted anywhere: the wrong buttons already disabled tell them.
    int autresActives = 0;
    for (int autre = 1; autre <= 3; ++autre) {
        if (autre != n && affichage_.reponsesActives[static_cast<std::size_t>(autre - 1)])
            ++autresActives;
    }
    switch (autresActives) {
    case 2: return {5, u"Très bien"};
    case 1: return {2, u"Bien"};
    default: return {0, u"Dommage"};
    }
}

void Partie::fermerMasques()
{
    affichage_.masquesFermes = true;
}

void Partie::viderReponses()
{
    for (QString &reponse : affichage_.reponses)
        reponse.clear();
}

void Partie::montrer()
{
    emit affichageChange();
}

void Partie::signalerPanne(const QString &erreur)
{
    emit messageDemande(Param::titreMessages(), erreur);
    plateforme_.terminer(1);
}
