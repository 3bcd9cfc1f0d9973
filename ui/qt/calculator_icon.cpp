#include "ui/qt/calculator_icon.h"

#include <QPainter>
#include <QPixmap>

namespace ristemo::ui::qt {

QIcon calculator_icon() {
    const QColor black(0, 0, 0);
    const QColor grey(128, 128, 128);
    const QColor silver(192, 192, 192);
    const QColor white(255, 255, 255);

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);

    // Body: columns 2 to 13, black outline around a grey case.
    p.fillRect(2, 0, 12, 16, black);
    p.fillRect(3, 1, 10, 14, grey);
    // Display: silver frame, white face.
    p.fillRect(4, 2, 8, 3, silver);
    p.fillRect(5, 3, 6, 1, white);
    // Keys: four rows of three, white tops with a black shadow under them.
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int x = 4 + col * 3;
            const int y = 6 + row * 2;
            p.fillRect(x, y, 2, 1, row == 3 && col == 2 ? silver : white);
            p.fillRect(x, y + 1, 2, 1, black);
        }
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace ristemo::ui::qt
