// The smallest Qt Widgets program that shows a window: the start-up baseline.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return QApplication::exec();
}
