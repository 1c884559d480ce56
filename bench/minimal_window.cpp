// The smallest Qt Widgets program that shows a window, maximized as the program shows its own: the start-up
// baseline.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.showMaximized();
    return QApplication::exec();
}
