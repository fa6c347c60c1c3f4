// The yardstick of the start-up benchmark: the least a Qt Widgets program does to
// show a window.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal Qt window"));
    window.resize(640, 380);
    window.show();
    return QApplication::exec();
}
