#pragma once

#include <QDialog>
#include <QPoint>

class Bouton3D;
class Bureau;
class Illustration;
class LibelleAligne;
class Panneau3D;
class Plateforme;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
struct Param;

// The About box: a borderless window filled by five tabs of program information, version
// history, support notice and the buttons that open the author's and the association's
// documents and addresses. It keeps nothing between two openings.
class Apropos : public QDialog
{
    Q_OBJECT

public:
    Apropos(const Param &param, const Plateforme &plateforme, Bureau &bureau,
            QWidget *parent = nullptr);

    // The texts stored with the window, lines ended by CR LF.
    static QString historique();
    static QString assistance();

protected:
    void keyPressEvent(QKeyEvent *evenement) override;
    void showEvent(QShowEvent *evenement) override;

private:
    void creerOngletTitre();
    void creerOngletInfos();
    void creerOngletHistorique();
    void creerOngletAssistance();
    void creerOngletTesk();
    QWidget *ajouterPage(const QString &legende);
    void alignerPages();

    void Form_Load();
    void Quitter_Click();
    void EMail_Click();
    void Internet_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();
    void SSCommand5_Click();
    void OuvrirDocument(const QString &document);

    const Param &param_;
    const Plateforme &plateforme_;
    Bureau &bureau_;
    // Where the pages' controls are placed as if their page began: at first Onglet's corner.
    QPoint originePages_;

    QTabWidget *Onglet = nullptr;

    Panneau3D *Panel3D1 = nullptr;
    Panneau3D *Titre = nullptr;
    QLabel *SousTitre = nullptr;
    Panneau3D *Panel3D3 = nullptr;
    Illustration *Dessin4 = nullptr;
    Bouton3D *Quitter = nullptr;

    Panneau3D *SupportInfos = nullptr;
    QLabel *Description = nullptr;
    LibelleAligne *NomApplication = nullptr;
    LibelleAligne *Version = nullptr;
    LibelleAligne *Commentaires = nullptr;
    LibelleAligne *TradeMarks = nullptr;
    LibelleAligne *Copyright = nullptr;
    LibelleAligne *Company = nullptr;

    QPlainTextEdit *Afficheur = nullptr;

    QPlainTextEdit *Text1 = nullptr;
    Bouton3D *EMail = nullptr;
    Bouton3D *Internet = nullptr;

    Illustration *Picture1 = nullptr;
    Bouton3D *SSCommand1 = nullptr;
    Bouton3D *SSCommand2 = nullptr;
    Bouton3D *SSCommand3 = nullptr;
    Bouton3D *SSCommand4 = nullptr;
    Bouton3D *SSCommand5 = nullptr;
};
