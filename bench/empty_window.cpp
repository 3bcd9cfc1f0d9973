// The yardstick for start-up and memory: an empty Qt Widgets window, built like ristemo.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(487, 400);
    window.show();
    return app.exec();
}
