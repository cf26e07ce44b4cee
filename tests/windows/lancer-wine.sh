#!/usr/bin/env bash
# lancer-wine.sh PROGRAMME.exe [ARGUMENTS...]: a Qt Test program run by Wine, as ctest's
# emulator (the windows-tests preset). With no console, Qt Test on Windows writes its log to
# the debugger, where no one reads it: the log goes to a file, shown here once the test ends.
# Qt Test writes it in the ANSI code page, Windows-1252 under Wine in a C locale.
# Wine hands a Windows program none of the host's Qt variables (QT_*), but those named WINEQT_*.
while IFS='=' read -r nom valeur; do
    export "WINE$nom=$valeur"
done < <(env | grep '^QT_')
journal=$(mktemp)
trap 'rm -f "$journal"' EXIT
statut=0
wine "$@" -o "$(winepath -w "$journal"),txt" || statut=$?
iconv -f WINDOWS-1252 -t UTF-8 "$journal"
exit "$statut"
