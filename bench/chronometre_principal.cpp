// Times a program's start-up under X without instrumenting it: from just before the process is
// started until its main window is mapped and painted, then reads its peak resident memory.
//
//   Chronometre [--calme MS] [--memoire MS] [--delai S] -- PROGRAM [ARGS...]
//
// Prints one line, "<milliseconds to painted> <VmHWM in KiB> <late drawings> <width>x<height>",
// the last being the main window's size when painted, and stops the program. CHRONOMETRE_DETAILS=1
// in the environment also lists every drawing on standard error.
//
// "Painted" is read from the X server itself through the Damage extension, so it means the same
// for any toolkit: every top-level window gets a damage object as soon as it is created, before
// anything can be drawn in it; the main window is the first one mapped whose _NET_WM_PID is the
// started process. It counts as painted once every pixel of it has been drawn at least once since
// it took its last size and nothing more is drawn for --calme ms (1000); the time reported is that
// of the last drawing before that calm. The memory is read --memoire ms (3000) after that drawing;
// whatever is drawn meanwhile is counted as late drawings, so that a program that paints in two
// phases shows.

#include "bench/Chronometre.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    Chronometre::Options options;
    int i = 1;
    for (; i + 1 < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        const int valeur = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--calme") == 0)
            options.calmeMs = valeur;
        else if (std::strcmp(argv[i], "--memoire") == 0)
            options.memoireMs = valeur;
        else if (std::strcmp(argv[i], "--delai") == 0)
            options.delaiS = valeur;
        else
            break;
    }
    if (i + 1 >= argc || std::strcmp(argv[i], "--") != 0) {
        std::fprintf(stderr, "usage : Chronometre [--calme MS] [--memoire MS] [--delai S] -- "
                             "PROGRAMME [ARGS...]\n");
        return 2;
    }
    options.programme = argv + i + 1;

    Chronometre chronometre(options);
    const Chronometre::Mesure mesure = chronometre.mesurer();
    std::printf("%.1f %ld %d %dx%d\n", mesure.tempsMs, mesure.memoireKio, mesure.dessinsTardifs,
                mesure.largeur, mesure.hauteur);
    return 0;
}
