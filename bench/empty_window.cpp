// The start-up baseline: a Qt program that shows one empty window as large as
// the start screen's client area and runs the event loop.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1021, 673);
    window.show();
    return QApplication::exec();
}
