// Writes the window's icon as the 16 x 16 PNG of the icon theme, so both come from one drawing.
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include "ui/qt/calculator_icon.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) return 2;
    return ristemo::ui::qt::calculator_icon().pixmap(16, 16).save(QString::fromLocal8Bit(argv[1]))
               ? 0
               : 1;
}
