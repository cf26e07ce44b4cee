"""Reading a running program's accessibility tree (AT-SPI): the game's integration test and
its package's autopkgtest play through it."""
import time

from gi.repository import GLib

VERDICTS = ('Très bien', 'Bien', 'Dommage')


def parcourir(objet):
    yield objet
    for i in range(objet.childCount):
        enfant = objet.getChildAtIndex(i)
        if enfant is not None:
            yield from parcourir(enfant)


def reponses(fenetre):
    """The answer buttons: the push buttons right inside a frame."""
    return [o for o in parcourir(fenetre)
            if o.getRoleName() == 'push button' and o.parent.getRoleName() == 'frame']


def attendre(predicat, quoi, delai=20):
    fin = time.time() + delai
    while time.time() < fin:
        try:
            valeur = predicat()
        except GLib.GError:
            # A window that closes while it is read leaves the tree under the reader: read again.
            valeur = None
        if valeur:
            return valeur
        time.sleep(0.1)
    raise SystemExit('timed out waiting for ' + quoi)
