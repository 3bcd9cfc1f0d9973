// The yardstick for the calculator's start-up time: an empty Qt Widgets window, built and
// started the same way.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(487, 405);
    window.show();
    return app.exec();
}
