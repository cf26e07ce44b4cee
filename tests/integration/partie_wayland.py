#!/usr/bin/python3
"""Drives the running game through its accessibility tree (AT-SPI) and checks weston's
screenshots. Usage: partie_wayland.py CAPTURE_DIR. Run by partie_wayland.sh."""
import glob
import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib

from arbre_accessible import VERDICTS, attendre, parcourir, reponses

sortie = sys.argv[1]
os.makedirs(sortie, exist_ok=True)
resultats = {'passed': 0, 'failed': 0}


def verifier(condition, quoi):
    resultats['passed' if condition else 'failed'] += 1
    print(('ok   ' if condition else 'FAIL ') + quoi, flush=True)


class Image:
    def __init__(self, png):
        ppm = subprocess.run(['pngtopnm', png], capture_output=True, check=True).stdout
        champs, i = [], 0
        while len(champs) < 4:
            while ppm[i:i + 1].isspace():
                i += 1
            j = i
            while not ppm[j:j + 1].isspace():
                j += 1
            champs.append(ppm[i:j])
            i = j
        self.largeur, self.hauteur = int(champs[1]), int(champs[2])
        self.pixels = ppm[i + 1:]

    def pixel(self, x, y):
        k = (y * self.largeur + x) * 3
        return tuple(self.pixels[k:k + 3])

    def zone(self, x, y, l, h):
        return [self.pixel(x + i, y + j) for j in range(h) for i in range(l)]


def capture(nom):
    dossier = tempfile.mkdtemp()
    subprocess.run(['timeout', '20', 'weston-screenshooter'], cwd=dossier, check=True,
                   stdout=subprocess.DEVNULL)
    chemin = os.path.join(sortie, nom + '.png')
    os.replace(glob.glob(dossier + '/wayland-screenshot-*.png')[0], chemin)
    os.rmdir(dossier)
    return Image(chemin)


def capture_au_repos(nom, delai=10):
    """A screenshot once the screen has stopped changing: two alike, 0.5 s apart. A loaded
    machine can take over a second to lay out and paint a maximised window."""
    image = capture(nom)
    fin = time.time() + delai
    while time.time() < fin:
        time.sleep(0.5)
        suivante = capture(nom)
        if suivante.pixels == image.pixels:
            return suivante
        image = suivante
    raise SystemExit('timed out waiting for the screen to stop changing')


def application():
    bureau = pyatspi.Registry.getDesktop(0)
    return next((a for a in bureau if a is not None and a.name == 'Pavoria'), None)


def fenetres():
    app = application()
    if not app:
        return []
    # A window closing meanwhile leaves a hole in the list.
    return [f for f in (app.getChildAtIndex(i) for i in range(app.childCount)) if f is not None]


def autres_fenetres():
    return [f for f in fenetres() if f.name != 'Pavoria 1.6'
            and f.getState().contains(pyatspi.STATE_SHOWING)]


def appuyer(objet, ouvre_dialogue=False):
    # A tool button's Press clicks synchronously: the reply waits for a modal dialog it opens
    # to close, so that press is sent with a short timeout and its missing reply ignored.
    action = objet.queryAction()
    index = next(i for i in range(action.nActions) if action.getName(i) == 'Press')
    if ouvre_dialogue:
        Atspi.set_timeout(1000, -1)
    try:
        action.doAction(index)
    except GLib.GError as erreur:
        if not ouvre_dialogue or 'reply' not in str(erreur):
            raise
    finally:
        Atspi.set_timeout(25000, -1)


def bouton(racine, nom):
    return next(o for o in parcourir(racine)
                if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == nom)


principale = attendre(lambda: next((f for f in fenetres() if f.name == 'Pavoria 1.6'), None),
                      'the main window')
repos = capture_au_repos('01-repos')

# Where the client area lies on the screen: the maximised window fills the output under the
# panel, with the decoration's side and bottom borders of equal width.
client = principale.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
bord = (repos.largeur - client.width) // 2
haut_client = repos.hauteur - bord - client.height
dessin = next(o for o in parcourir(principale) if o.name == 'Drapeau')
d = dessin.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
zone_drapeau = (bord + d.x, haut_client + d.y, d.width, d.height)

# The title bar: the title's text in the middle and the three buttons at the right, in any
# colour that stands out from the bar's grey.
barre_y = haut_client - 30
fond = repos.pixel(repos.largeur // 2, barre_y + 2)
def marques(x0, x1):
    return sum(1 for y in range(barre_y, haut_client) for x in range(x0, x1)
               if max(abs(a - b) for a, b in zip(repos.pixel(x, y), fond)) > 40)
verifier(marques(repos.largeur // 2 - 100, repos.largeur // 2 + 100) > 50,
         'the title text shows in the title bar')
verifier(marques(repos.largeur - 90, repos.largeur - bord) > 30,
         'the three buttons show in the title bar')

# The three vertical gaps, in the middle column: plain window grey between the frames.
def ecarts(image):
    x, runs, debut = image.largeur // 2, [], None
    for y in range(haut_client, image.hauteur + 1):
        gris = y < image.hauteur and image.pixel(x, y) == (192, 192, 192)
        if gris and debut is None:
            debut = y
        if not gris and debut is not None:
            if y - debut > 60:
                runs.append(y - debut)
            debut = None
    return runs
hauteur_fenetre = repos.hauteur - (haut_client - 30)
attendu = round((hauteur_fenetre * 15 - 6045) / 3 / 15)
g = ecarts(repos)
# Each run also holds the 3 px inside a frame's etched line, on each frame side it touches.
verifier(len(g) == 3 and abs(g[0] - 3 - attendu) <= 1 and abs(g[1] - 6 - attendu) <= 1,
         'the upper gaps split the height the compositor gave: %s, expected %d' % (g, attendu))

masques_fermes = repos.zone(*zone_drapeau)
appuyer(bouton(principale, 'Lancer une nouvelle partie'))
attendre(lambda: len(reponses(principale)) == 3 and all(r.name for r in reponses(principale)),
         'the first question')
boutons = reponses(principale)
time.sleep(0.5)
premier = capture('02-premier-drapeau')
vue = premier.zone(*zone_drapeau)
differents = sum(1 for a, b in zip(vue, masques_fermes) if a != b)
verifier(differents > len(vue) // 2, 'the masks open on a flag')

numeros = set()
durees_verdicts = []
rallumes = set()
# The verdict panel comes first of the three counters, the question number last.
compteur = next(o for o in parcourir(principale)
                if o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith('Jeu n° '))
verdict = next(o for o in parcourir(compteur.parent) if o.getRole() == pyatspi.ROLE_LABEL)


def suivre_verdict(clique, noms):
    """How long a right answer's verdict stays on screen, read every 10 ms; None for a wrong
    answer, which greys the button clicked, or for the last one, which the game's end keeps."""
    debut = None
    limite = time.time() + 3
    while time.time() < limite:
        if (lu := verdict.name) in VERDICTS:
            debut = debut or time.time()
            vivants = {r.name for r in boutons if r.getState().contains(pyatspi.STATE_ENABLED)}
            if verdict.name == lu:  # read under this verdict, not after it
                rallumes.update(vivants & noms)
        elif debut is not None:
            return time.time() - debut
        elif not clique.getState().contains(pyatspi.STATE_ENABLED) and verdict.name == 'PERDU':
            return None
        time.sleep(0.01)
    return None


def repondre():
    """Clicks the first answer still enabled; False once another window (the end) shows."""
    if autres_fenetres():
        return True
    numeros.update(int(o.name.split()[-1]) for o in parcourir(principale)
                   if o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith('Jeu n° '))
    actives = [r for r in boutons if r.name and r.getState().contains(pyatspi.STATE_ENABLED)]
    if actives:
        appuyer(actives[0])
        duree = suivre_verdict(actives[0], {r.name for r in boutons})
        if duree is not None:
            durees_verdicts.append(duree)
    return False


attendre(repondre, 'the end of the game', delai=120)
verifier(len(durees_verdicts) == 14 and min(durees_verdicts) >= 0.3,
         "each right answer's verdict stays 0.3 s at least: %s"
         % ', '.join('%.2f' % d for d in durees_verdicts))
verifier(not rallumes, 'no name just answered is live under its verdict: %s' % sorted(rallumes))
message = attendre(
    lambda: next((f for f in autres_fenetres() if f.getRole() == pyatspi.ROLE_ALERT), None),
    'the end-of-game message')
texte = ' '.join(o.name for o in parcourir(message) if o.getRole() == pyatspi.ROLE_LABEL)
verifier('Cette partie est terminée' in texte and max(numeros, default=0) == 15,
         'the game ends after fifteen flags: questions seen %s' % sorted(numeros))
appuyer(bouton(message, 'OK'))
attendre(lambda: not any(f.getRole() == pyatspi.ROLE_ALERT for f in autres_fenetres()),
         'the message to go')
time.sleep(0.5)
dialogue = next(iter(autres_fenetres()), None)
if dialogue is not None:
    champ = next(o for o in parcourir(dialogue) if o.getRole() == pyatspi.ROLE_TEXT)
    champ.queryEditableText().setTextContents('Essai')
    appuyer(bouton(dialogue, 'Valider'))
    attendre(lambda: not autres_fenetres(), 'the score dialog to go')
time.sleep(0.5)
fin = capture('03-fin')
verifier(fin.zone(*zone_drapeau) == masques_fermes, 'the masks are closed again after the game')

print('%d passed, %d failed' % (resultats['passed'], resultats['failed']))
sys.exit(1 if resultats['failed'] else 0)
