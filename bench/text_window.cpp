// The empty window with one line of text: the least a window that shows any text pays for fonts
// (font configuration, font database, one face loaded), which the empty window never does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(487, 400);
    QLabel label(QStringLiteral("creatinina"), &window);
    label.move(24, 56);
    window.show();
    return app.exec();
}
