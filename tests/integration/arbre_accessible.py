"""Reading a running program's accessibility tree (AT-SPI): the game's integration test and
its package's autopkgtest play through it."""
import time

import pyatspi
from gi.repository import GLib

VERDICTS = ('Très bien', 'Bien', 'Dommage')


def parcourir(objet):
    yield objet
    for i in range(objet.childCount):
        enfant = objet.getChildAtIndex(i)
        if enfant is not None:
            yield from parcourir(enfant)


def reponses(fenetre):
    """The answer buttons: the push buttons outside the tool bar. Roles are compared, not their
    names, which AT-SPI spells differently from one version to the next; and not the answers'
    frame's, which Qt 6.4 gives as a frame and Qt 6.8 as a panel."""
    return [o for o in parcourir(fenetre) if o.getRole() == pyatspi.ROLE_PUSH_BUTTON
            and o.parent.getRole() != pyatspi.ROLE_TOOL_BAR]


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
