#!/usr/bin/python3
"""Plays one question of the game started from sys.argv[1]: Ctrl+N, then the keys 1, 2 and 3
in turn until the verdict of a right answer shows. Run by debian/tests/partie from the
sources' root, as autopkgtest runs it."""
import subprocess
import sys

import pyatspi

sys.path.insert(0, 'tests/integration')
from arbre_accessible import VERDICTS, attendre, parcourir, reponses  # noqa: E402


def fenetre_principale():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == 'Pavoria':
            return next((f for f in app if f is not None and f.name == 'Pavoria 1.6'), None)
    return None


def noms_reponses(fenetre):
    return [r.name for r in reponses(fenetre)]


def grisees(fenetre):
    return sum(1 for r in reponses(fenetre) if not r.getState().contains(pyatspi.STATE_ENABLED))


def verdict(fenetre):
    return next((o.name for o in parcourir(fenetre) if o.name in VERDICTS), None)


def touche(fenetre_x, nom):
    subprocess.run(['xdotool', 'windowfocus', '--sync', fenetre_x, 'key', nom], check=True)


# The accessibility bus must be up before the program starts, or Qt never registers.
subprocess.run(['dbus-send', '--session', '--print-reply', '--dest=org.a11y.Bus',
                '/org/a11y/bus', 'org.a11y.Bus.GetAddress'], check=True,
               stdout=subprocess.DEVNULL)
jeu = subprocess.Popen([sys.argv[1]])
try:
    principale = attendre(fenetre_principale, 'the main window')
    fenetre_x = subprocess.run(['xdotool', 'search', '--sync', '--onlyvisible', '--name',
                                r'^Pavoria 1\.6$'], check=True, capture_output=True,
                               text=True).stdout.split()[0]
    touche(fenetre_x, 'ctrl+n')
    # Keys pressed before the question is in place would be lost: wait for three live answers.
    attendre(lambda: len(reponses(principale)) == 3 and all(
        r.name and r.getState().contains(pyatspi.STATE_ENABLED) for r in reponses(principale)),
        'the three answers of the first question')
    noms = noms_reponses(principale)

    def jouee():
        # The verdict shows only until the next question replaces the answers.
        return verdict(principale) or noms_reponses(principale) != noms

    for cle in '123':
        avant = grisees(principale)
        touche(fenetre_x, cle)
        attendre(lambda: jouee() or grisees(principale) > avant, 'what key %s did' % cle)
        if jouee():
            break
    else:
        raise SystemExit('FAIL: three keys and the question is still not played')
    print('played the question %s: %s' % (' / '.join(noms),
                                            verdict(principale) or 'the next one came'))
    if jeu.poll() is not None:
        raise SystemExit('FAIL: the game ended with status %d' % jeu.returncode)
finally:
    jeu.terminate()
    jeu.wait()
