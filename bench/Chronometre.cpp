#include "bench/Chronometre.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>

namespace {

using Millisecondes = std::chrono::duration<double, std::milli>;

[[noreturn]] void echouer(const std::string &message)
{
    std::fprintf(stderr, "Chronometre : %s\n", message.c_str());
    std::exit(2);
}

} // namespace

Chronometre::Chronometre(const Options &options)
    : options_(options)
    , details_(std::getenv("CHRONOMETRE_DETAILS") != nullptr)
{
    connexion_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connexion_))
        echouer("pas de serveur X (DISPLAY)");
    // The program started must not inherit this connection.
    fcntl(xcb_get_file_descriptor(connexion_), F_SETFD, FD_CLOEXEC);
    racine_ = xcb_setup_roots_iterator(xcb_get_setup(connexion_)).data->root;

    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connexion_, &xcb_damage_id);
    if (!damage || !damage->present)
        echouer("le serveur X n'a pas l'extension Damage");
    evenementDamage_ = static_cast<uint8_t>(damage->first_event + XCB_DAMAGE_NOTIFY);
    // The extension serves no other request before the version is agreed.
    free(xcb_damage_query_version_reply(connexion_, xcb_damage_query_version(connexion_, 1, 1),
                                        nullptr));

    atomePid_ = atome("_NET_WM_PID");
    const uint32_t masque = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connexion_, racine_, XCB_CW_EVENT_MASK, &masque);
    // A round trip: from here on, every top-level window created is reported.
    free(xcb_get_input_focus_reply(connexion_, xcb_get_input_focus(connexion_), nullptr));
}

Chronometre::~Chronometre()
{
    arreter();
    xcb_disconnect(connexion_);
}

Chronometre::Mesure Chronometre::mesurer()
{
    debut_ = Horloge::now();
    if (details_)
        std::fprintf(stderr, "début à %.3f ms (horloge monotone)\n",
                     Millisecondes(debut_.time_since_epoch()).count());
    pid_ = fork();
    if (pid_ < 0)
        echouer("fork");
    if (pid_ == 0) {
        // Standard output carries the measure: what the program prints goes with its errors.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(options_.programme[0], options_.programme);
        std::perror(options_.programme[0]);
        _exit(127);
    }

    const auto limite = debut_ + std::chrono::seconds(options_.delaiS);
    while (!peint_) {
        if (Horloge::now() > limite)
            abandonner("la fenêtre n'a pas été peinte à temps");
        attendre(limite);
        peint_ = calme();
        verifierVivant();
    }

    Mesure mesure;
    mesure.tempsMs = Millisecondes(dernierDessin_ - debut_).count();
    mesure.largeur = largeur_;
    mesure.hauteur = hauteur_;
    const auto lecture = dernierDessin_ + std::chrono::milliseconds(options_.memoireMs);
    while (Horloge::now() < lecture) {
        attendre(lecture);
        verifierVivant();
    }
    mesure.memoireKio = lireVmHWM();
    mesure.dessinsTardifs = tardifs_;
    arreter();
    return mesure;
}

xcb_atom_t Chronometre::atome(const char *nom)
{
    const auto longueur = static_cast<uint16_t>(std::strlen(nom));
    auto *reponse =
        xcb_intern_atom_reply(connexion_, xcb_intern_atom(connexion_, 0, longueur, nom), nullptr);
    const xcb_atom_t resultat = reponse ? reponse->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reponse);
    return resultat;
}

bool Chronometre::calme() const
{
    return cible_ && couverture_.complete()
           && Horloge::now() - dernierDessin_ >= std::chrono::milliseconds(options_.calmeMs);
}

void Chronometre::attendre(Horloge::time_point jusqua)
{
    xcb_flush(connexion_);
    traiterEvenements();
    auto echeance = jusqua;
    if (cible_ && couverture_.complete() && !peint_)
        echeance = std::min(echeance, dernierDessin_ + std::chrono::milliseconds(options_.calmeMs));
    const auto reste =
        std::chrono::duration_cast<std::chrono::milliseconds>(echeance - Horloge::now()).count();
    // Woken at least every 100 ms to notice a program that died.
    pollfd attente{xcb_get_file_descriptor(connexion_), POLLIN, 0};
    poll(&attente, 1, static_cast<int>(std::clamp<long long>(reste + 1, 0, 100)));
    traiterEvenements();
    if (xcb_connection_has_error(connexion_))
        abandonner("connexion au serveur X perdue");
}

void Chronometre::traiterEvenements()
{
    while (xcb_generic_event_t *evenement = xcb_poll_for_event(connexion_)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&free)> garde(evenement, &free);
        traiter(*evenement);
    }
}

void Chronometre::traiter(const xcb_generic_event_t &evenement)
{
    const auto type = static_cast<uint8_t>(evenement.response_type & 0x7f);
    const auto maintenant = Horloge::now();
    if (type == XCB_CREATE_NOTIFY) {
        const auto &creation = reinterpret_cast<const xcb_create_notify_event_t &>(evenement);
        if (creation.parent != racine_ || creation.override_redirect)
            return;
        // Before anything can be drawn in it: no drawing is missed.
        const uint32_t damage = xcb_generate_id(connexion_);
        xcb_damage_create(connexion_, damage, creation.window,
                          XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        // Its own structure events: once the window manager has framed it, the root no longer
        // reports them.
        const uint32_t masque = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(connexion_, creation.window, XCB_CW_EVENT_MASK, &masque);
        surveillees_[creation.window] = damage;
        if (details_)
            std::fprintf(stderr, "création 0x%x à %.1f ms\n", creation.window,
                         Millisecondes(maintenant - debut_).count());
    } else if (type == XCB_MAP_NOTIFY) {
        const auto &carte = reinterpret_cast<const xcb_map_notify_event_t &>(evenement);
        if (details_)
            std::fprintf(stderr, "carte 0x%x (%s) à %.1f ms\n", carte.window,
                         surveillees_.count(carte.window) ? "surveillée" : "inconnue",
                         Millisecondes(maintenant - debut_).count());
        if (!cible_ && surveillees_.count(carte.window) && pidDe(carte.window) == pid_)
            choisirCible(carte.window);
    } else if (type == XCB_CONFIGURE_NOTIFY) {
        const auto &forme = reinterpret_cast<const xcb_configure_notify_event_t &>(evenement);
        if (cible_ && forme.window == *cible_
            && (forme.width != largeur_ || forme.height != hauteur_)) {
            // A new size must be painted whole again.
            largeur_ = forme.width;
            hauteur_ = forme.height;
            couverture_.redimensionner(largeur_, hauteur_);
            if (details_)
                std::fprintf(stderr, "taille %dx%d à %.1f ms\n", largeur_, hauteur_,
                             Millisecondes(maintenant - debut_).count());
        }
    } else if (type == evenementDamage_) {
        const auto &dessin = reinterpret_cast<const xcb_damage_notify_event_t &>(evenement);
        if (!cible_ || dessin.drawable != *cible_)
            return;
        if (peint_) {
            ++tardifs_;
            return;
        }
        couverture_.marquer(dessin.area.x, dessin.area.y, dessin.area.width, dessin.area.height);
        dernierDessin_ = maintenant;
        if (details_)
            std::fprintf(stderr, "dessin %d,%d %dx%d à %.1f ms\n", dessin.area.x, dessin.area.y,
                         dessin.area.width, dessin.area.height,
                         Millisecondes(maintenant - debut_).count());
    }
}

std::optional<pid_t> Chronometre::pidDe(xcb_window_t fenetre)
{
    auto *reponse = xcb_get_property_reply(
        connexion_, xcb_get_property(connexion_, 0, fenetre, atomePid_, XCB_ATOM_CARDINAL, 0, 1),
        nullptr);
    std::optional<pid_t> pid;
    if (reponse && xcb_get_property_value_length(reponse) == 4)
        pid = static_cast<pid_t>(*static_cast<uint32_t *>(xcb_get_property_value(reponse)));
    free(reponse);
    return pid;
}

void Chronometre::choisirCible(xcb_window_t fenetre)
{
    auto *geometrie =
        xcb_get_geometry_reply(connexion_, xcb_get_geometry(connexion_, fenetre), nullptr);
    if (!geometrie)
        return;
    cible_ = fenetre;
    largeur_ = geometrie->width;
    hauteur_ = geometrie->height;
    free(geometrie);
    couverture_.redimensionner(largeur_, hauteur_);
    if (details_)
        std::fprintf(stderr, "fenêtre 0x%x %dx%d à %.1f ms\n", fenetre, largeur_, hauteur_,
                     Millisecondes(Horloge::now() - debut_).count());
}

void Chronometre::verifierVivant()
{
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        echouer("le programme s'est terminé avant la fin de la mesure");
    }
}

long Chronometre::lireVmHWM() const
{
    std::ifstream etat("/proc/" + std::to_string(pid_) + "/status");
    std::string ligne;
    while (std::getline(etat, ligne)) {
        if (ligne.rfind("VmHWM:", 0) == 0)
            return std::strtol(ligne.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void Chronometre::arreter()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        usleep(20000);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void Chronometre::abandonner(const std::string &raison)
{
    arreter();
    echouer(raison);
}
