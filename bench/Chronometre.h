#pragma once

#include "bench/Couverture.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>

#include <sys/types.h>
#include <xcb/xcb.h>

// Starts a program and watches its windows from the X server's side (Damage extension), so that
// any toolkit's program is timed alike, without being instrumented. See chronometre_principal.cpp.
class Chronometre
{
public:
    struct Options
    {
        int calmeMs = 1000;   // nothing drawn for this long: the window is painted
        int memoireMs = 3000; // the memory is read this long after the window was painted
        int delaiS = 30;      // give up when nothing is painted by then
        char **programme = nullptr;
    };

    struct Mesure
    {
        double tempsMs = 0;     // from just before the start to the last drawing before the calm
        long memoireKio = 0;    // VmHWM
        int dessinsTardifs = 0; // drawn after the window was judged painted
        int largeur = 0;        // of the main window when painted
        int hauteur = 0;
    };

    explicit Chronometre(const Options &options);
    ~Chronometre();
    Chronometre(const Chronometre &) = delete;
    Chronometre &operator=(const Chronometre &) = delete;

    Mesure mesurer();

private:
    using Horloge = std::chrono::steady_clock;

    xcb_atom_t atome(const char *nom);
    bool calme() const;
    void attendre(Horloge::time_point jusqua);
    void traiterEvenements();
    void traiter(const xcb_generic_event_t &evenement);
    std::optional<pid_t> pidDe(xcb_window_t fenetre);
    void choisirCible(xcb_window_t fenetre);
    void verifierVivant();
    long lireVmHWM() const;
    void arreter();
    [[noreturn]] void abandonner(const std::string &raison);

    Options options_;
    xcb_connection_t *connexion_ = nullptr;
    xcb_window_t racine_ = 0;
    xcb_atom_t atomePid_ = XCB_ATOM_NONE;
    uint8_t evenementDamage_ = 0;
    std::map<xcb_window_t, uint32_t> surveillees_; // window, its damage object
    bool details_ = false;

    pid_t pid_ = -1;
    Horloge::time_point debut_;
    std::optional<xcb_window_t> cible_;
    int largeur_ = 0;
    int hauteur_ = 0;
    Couverture couverture_;
    Horloge::time_point dernierDessin_;
    bool peint_ = false;
    int tardifs_ = 0;
};
