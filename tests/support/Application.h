#pragma once

#include "widgets/Apparence.h"

#include <QApplication>
#include <QTest>

// QTEST_MAIN (96 dpi) with the game's own application set-up, so that the windows under test have
// the style, palette, fonts and names of the program.
#define PAVORIA_TEST_MAIN(Classe)                                                                  \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication application(argc, argv);                                                      \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        Apparence::appliquer();                                                                    \
        Classe test;                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
