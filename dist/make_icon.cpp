// Writes the desktop's icons of the window's picture: the 16 x 16 PNG as the window shows it and
// the scalable SVG, pixel for pixel.
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <fstream>

#include "form/form1_icon.h"
#include "ui/qt/calculator_icon.h"

namespace {

// One rectangle a run of pixels of one colour in a row.
bool write_svg(const char* path) {
    namespace form = ristemo::form;
    std::ofstream svg(path);
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" "
           "viewBox=\"0 0 16 16\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < form::kIconSize; ++y) {
        for (int x = 0; x < form::kIconSize;) {
            const char pixel = form::kIcon[y][x];
            int end = x + 1;
            while (end < form::kIconSize && form::kIcon[y][end] == pixel) ++end;
            const form::IconColour c = form::icon_colour(pixel);
            if (c.alpha != 0) {
                const QString fill = QColor(c.red, c.green, c.blue).name();
                svg << "  <rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x
                    << "\" height=\"1\" fill=\"" << fill.toStdString() << "\"/>\n";
            }
            x = end;
        }
    }
    svg << "</svg>\n";
    return bool(svg);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) return 2;
    const bool png =
        ristemo::ui::qt::calculator_icon().pixmap(16, 16).save(QString::fromLocal8Bit(argv[1]));
    return png && write_svg(argv[2]) ? 0 : 1;
}
