// The floor of the start-up benchmark: the least a Qt Widgets program does to show a window,
// one empty maximized main window, built like the game with the same toolkit and compiler.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow fenetre;
    fenetre.showMaximized();
    return QApplication::exec();
}
