#include "ui/qt/calculator_icon.h"

#include <QImage>
#include <QPixmap>

#include "form/form1_icon.h"

namespace ristemo::ui::qt {

QIcon calculator_icon() {
    QImage image(form::kIconSize, form::kIconSize, QImage::Format_ARGB32);
    for (int y = 0; y < form::kIconSize; ++y) {
        for (int x = 0; x < form::kIconSize; ++x) {
            const form::IconColour c = form::icon_pixel(x, y);
            image.setPixel(x, y, qRgba(c.red, c.green, c.blue, c.alpha));
        }
    }
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace ristemo::ui::qt
