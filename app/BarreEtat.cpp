#include "app/BarreEtat.h"

#include "app/Panneau3D.h"
#include "app/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>

#include <optional>

namespace {

using Verrou = BarreEtat::Verrou;

constexpr std::size_t indice(Verrou verrou)
{
    return static_cast<std::size_t>(verrou);
}

std::optional<Verrou> verrouDeTouche(int touche)
{
    switch (touche) {
    case Qt::Key_ScrollLock: return Verrou::Defilement;
    case Qt::Key_Insert: return Verrou::Insertion;
    case Qt::Key_CapsLock: return Verrou::Majuscules;
    case Qt::Key_NumLock: return Verrou::Numerique;
    default: return std::nullopt;
    }
}

// The keyboard's own indicator, when the windowing system can tell it (defined at the end).
std::optional<bool> voyantClavier(Verrou verrou);

} // namespace

BarreEtat::BarreEtat(QWidget *parent)
    : QStatusBar(parent)
    , horloge_([] { return QDateTime::currentDateTime(); })
{
    setFixedHeight(Twips::enPixels(345));

    principal_ = ajouterPanneau(QString(), Qt::AlignLeft | Qt::AlignVCenter, 1);
    principal_->setMinimumWidth(Twips::enPixels(4000));
    const std::array<QString, 4> libelles{QStringLiteral("DEFIL"), QStringLiteral("INS"),
                                          QStringLiteral("MAJ"), QStringLiteral("NUM")};
    for (std::size_t i = 0; i < verrous_.size(); ++i) {
        verrous_[i] = ajouterPanneau(libelles[i], Qt::AlignCenter);
        verrous_[i]->setFixedWidth(Twips::enPixels(600));
    }
    date_ = ajouterPanneau(QString(), Qt::AlignCenter);
    heure_ = ajouterPanneau(QString(), Qt::AlignCenter);

    // A temporary message (a status tip) takes the first panel's place, as in the classic line.
    connect(this, &QStatusBar::messageChanged, this, &BarreEtat::afficherPrincipal);

    // Polled as well as driven by key presses: the time moves on, and a lock key may be
    // pressed while another program has the keyboard.
    auto *minuterie = new QTimer(this);
    minuterie->setInterval(1000);
    connect(minuterie, &QTimer::timeout, this, &BarreEtat::actualiser);
    minuterie->start();

    qApp->installEventFilter(this);
    actualiser();
}

Panneau3D *BarreEtat::ajouterPanneau(const QString &texte, Qt::Alignment alignement,
                                     int etirement)
{
    auto *panneau = new Panneau3D(this);
    panneau->setBiseauExterieur(Panneau3D::Biseau::Enfonce);
    panneau->setLargeurBiseau(1);
    panneau->setLargeurBordure(1);
    panneau->setAlignement(alignement);
    panneau->setLegende(texte);
    // Permanent, so that messages never hide panels and their order stays fixed.
    addPermanentWidget(panneau, etirement);
    return panneau;
}

void BarreEtat::setTextePrincipal(const QString &texte)
{
    textePrincipal_ = texte;
    afficherPrincipal();
}

void BarreEtat::afficherPrincipal()
{
    const QString message = currentMessage();
    principal_->setLegende(message.isEmpty() ? textePrincipal_ : message);
}

void BarreEtat::setHorloge(std::function<QDateTime()> horloge)
{
    horloge_ = horloge ? std::move(horloge) : [] { return QDateTime::currentDateTime(); };
    actualiser();
}

bool BarreEtat::etatVerrou(Verrou verrou) const
{
    return etats_[indice(verrou)];
}

void BarreEtat::actualiser()
{
    for (std::size_t i = 0; i < etats_.size(); ++i) {
        if (const auto voyant = voyantClavier(static_cast<Verrou>(i)))
            etats_[i] = *voyant;
        // Unlit keys keep their label in the disabled grey, as the classic status line does.
        const QColor couleur = etats_[i] ? QColor(Qt::black) : QColor(128, 128, 128);
        const QString description =
            etats_[i] ? QStringLiteral("activé") : QStringLiteral("désactivé");
        // Polled every second: touch nothing unchanged, so screen readers are not told again.
        if (verrous_[i]->couleurTexte() != couleur)
            verrous_[i]->setCouleurTexte(couleur);
        if (verrous_[i]->accessibleDescription() != description)
            verrous_[i]->setAccessibleDescription(description);
    }

    const QDateTime maintenant = horloge_();
    date_->setLegende(maintenant.toString(QStringLiteral("dd/MM/yyyy")));
    heure_->setLegende(maintenant.toString(QStringLiteral("HH:mm")));
    ajusterLargeurs();
}

void BarreEtat::ajusterLargeurs()
{
    date_->setFixedWidth(qMax(Twips::enPixels(1000), date_->sizeHint().width()));
    heure_->setFixedWidth(qMax(Twips::enPixels(800), heure_->sizeHint().width()));
}

bool BarreEtat::premiereRemise(const QEvent *evenement, QWidget *destinataire)
{
    // Qt offers a key press to the focus widget, then to each ancestor that ignores it, and
    // the application's filters see every step: only the first one is a new key press.
    const bool propagee = evenement == derniereTouche_ && dernierDestinataire_
                          && destinataire->isAncestorOf(dernierDestinataire_);
    derniereTouche_ = evenement;
    dernierDestinataire_ = destinataire;
    return !propagee;
}

bool BarreEtat::eventFilter(QObject *objet, QEvent *evenement)
{
    const QEvent::Type type = evenement->type();
    // Widgets only: the window that first receives a real key press hands it on to a widget.
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && objet->isWidgetType()) {
        const auto *touche = static_cast<const QKeyEvent *>(evenement);
        if (const auto verrou = verrouDeTouche(touche->key())) {
            // Toggled here; the keyboard's indicator, when readable, overrides it at once.
            if (type == QEvent::KeyPress && !touche->isAutoRepeat()
                && premiereRemise(evenement, static_cast<QWidget *>(objet)))
                etats_[indice(*verrou)] = !etats_[indice(*verrou)];
            actualiser();
        }
    }
    return QStatusBar::eventFilter(objet, evenement);
}

void BarreEtat::changeEvent(QEvent *evenement)
{
    QStatusBar::changeEvent(evenement);
    if (evenement->type() == QEvent::FontChange)
        ajusterLargeurs();
}

void BarreEtat::paintEvent(QPaintEvent *)
{
    // The panels draw their own bevels and show the messages: the style's item frames and
    // message text would only double them.
    QPainter peintre(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &peintre, this);
}

#ifdef PAVORIA_AVEC_X11
// Last in the file: Xlib defines macros (KeyPress, Bool, None...) that clash with Qt's names.
#include <X11/XKBlib.h>

namespace {

std::optional<bool> voyantClavier(Verrou verrou)
{
    const char *nom = nullptr;
    switch (verrou) {
    case Verrou::Defilement: nom = "Scroll Lock"; break;
    case Verrou::Majuscules: nom = "Caps Lock"; break;
    case Verrou::Numerique: nom = "Num Lock"; break;
    case Verrou::Insertion: return std::nullopt; // no keyboard has an Insert light
    }
    // Not xcb (offscreen, Wayland): no native interface, so the key presses seen decide.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *affichage = x11 ? x11->display() : nullptr;
    if (!affichage)
        return std::nullopt;
    const Atom atome = XInternAtom(affichage, nom, True);
    int rang = 0;
    Bool allume = False;
    if (atome == None || !XkbGetNamedIndicator(affichage, atome, &rang, &allume, nullptr, nullptr))
        return std::nullopt;
    return allume != False;
}

} // namespace
#else
namespace {

std::optional<bool> voyantClavier(Verrou)
{
    return std::nullopt;
}

} // namespace
#endif
