#include "app/BarreEtat.h"

#include "core/Plateforme.h"
#include "core/Twips.h"
#include "widgets/Panneau3D.h"

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

using Voyants = std::array<std::optional<bool>, 4>;

// The keyboard's own indicators by lock key, those the windowing system can tell (defined at
// the end).
Voyants voyantsClavier();

} // namespace

BarreEtat::BarreEtat(const Plateforme &plateforme, QWidget *parent)
    : QStatusBar(parent)
    , plateforme_(plateforme)
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

Panneau3D *BarreEtat::ajouterPanneau(const QString &texte, Qt::Alignment alignement, int etirement)
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

bool BarreEtat::etatVerrou(Verrou verrou) const
{
    return etats_[indice(verrou)];
}

void BarreEtat::actualiser()
{
    const Voyants voyants = voyantsClavier();
    for (std::size_t i = 0; i < etats_.size(); ++i) {
        if (voyants[i])
            etats_[i] = *voyants[i];
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

    const QDateTime maintenant = plateforme_.maintenant();
    date_->setLegende(maintenant.toString(QStringLiteral("dd/MM/yyyy")));
    heure_->setLegende(maintenant.toString(QStringLiteral("HH:mm")));
    ajusterLargeurs();
}

void BarreEtat::ajusterLargeurs()
{
    date_->setFixedWidth(qMax(Twips::enPixels(1000), date_->sizeHint().width()));
    heure_->setFixedWidth(qMax(Twips::enPixels(800), heure_->sizeHint().width()));
}

bool BarreEtat::eventFilter(QObject *objet, QEvent *evenement)
{
    const QEvent::Type type = evenement->type();
    // A real key press reaches its window once; the window then hands it to the focus widget and
    // each ancestor that ignores it, so counting it at the window counts it once.
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && objet->isWindowType()) {
        const auto *touche = static_cast<const QKeyEvent *>(evenement);
        if (const auto verrou = verrouDeTouche(touche->key())) {
            // Toggled here; the keyboard's indicator, when readable, overrides it at once.
            if (type == QEvent::KeyPress && !touche->isAutoRepeat())
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

// Where each lock key's light sits among the keyboard's indicators (-1: it has none). Looked
// up once: the names stay as they are, and each look-up is a round trip to the server.
std::array<int, 4> rangsVoyants(Display *affichage)
{
    std::array<int, 4> rangs{-1, -1, -1, -1}; // no keyboard has an Insert light
    std::array<char *, 3> noms{const_cast<char *>("Scroll Lock"), const_cast<char *>("Caps Lock"),
                               const_cast<char *>("Num Lock")};
    const std::array<Verrou, 3> verrous{Verrou::Defilement, Verrou::Majuscules, Verrou::Numerique};
    std::array<Atom, 3> atomes{};
    // One round trip for the three names; a name the server never heard of is None.
    XInternAtoms(affichage, noms.data(), int(noms.size()), True, atomes.data());
    for (std::size_t i = 0; i < atomes.size(); ++i) {
        int rang = -1;
        if (atomes[i] != None
            && XkbGetNamedIndicator(affichage, atomes[i], &rang, nullptr, nullptr, nullptr))
            rangs[indice(verrous[i])] = rang;
    }
    return rangs;
}

Voyants voyantsClavier()
{
    // Not xcb (offscreen, Wayland): no native interface, so the key presses seen decide.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *affichage = x11 ? x11->display() : nullptr;
    if (!affichage)
        return {};
    static const std::array<int, 4> rangs = rangsVoyants(affichage);
    // Every light in one round trip.
    unsigned int allumes = 0;
    if (XkbGetIndicatorState(affichage, XkbUseCoreKbd, &allumes) != Success)
        return {};
    Voyants voyants;
    for (std::size_t i = 0; i < rangs.size(); ++i) {
        if (rangs[i] >= 0)
            voyants[i] = (allumes >> rangs[i] & 1u) != 0;
    }
    return voyants;
}

} // namespace
#elif defined(Q_OS_WIN)
#include <windows.h>

namespace {

Voyants voyantsClavier()
{
    // Offscreen: no keyboard of the system's, so the key presses seen decide.
    if (QGuiApplication::platformName() != u"windows")
        return {};
    // The low bit of a key's state is its toggle, which Windows keeps for Insert too.
    const std::array<int, 4> touches{VK_SCROLL, VK_INSERT, VK_CAPITAL, VK_NUMLOCK};
    Voyants voyants;
    for (std::size_t i = 0; i < touches.size(); ++i)
        voyants[i] = (GetKeyState(touches[i]) & 1) != 0;
    return voyants;
}

} // namespace
#else
namespace {

Voyants voyantsClavier()
{
    return {};
}

} // namespace
#endif
