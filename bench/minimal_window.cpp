// The yardsticks of the start-up benchmark: the least a Qt Widgets program does to
// show a window, empty or (with the argument "label") holding one line of text, which
// makes Qt load its font database as every window with text must.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    if (argc > 1 && std::strcmp(argv[1], "label") == 0)
        (new QLabel(QStringLiteral("Hello"), &window))->move(20, 20);
    window.setWindowTitle(QStringLiteral("Minimal Qt window"));
    window.resize(640, 380);
    window.show();
    return QApplication::exec();
}
