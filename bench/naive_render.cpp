#include "naive_render.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include "screen/layout.h"

void paintPaneNaively(QImage& picture, const std::uint8_t* image, int pane) {
    QPainter painter(&picture);
    for (int y = 0; y < ScreenHeight; ++y) {
        for (int x = 0; x < ScreenWidth; ++x) {
            const std::uint8_t attribute = pane == 0 ? 7 : image[attributeOffset(x / 8, y / 8)];
            const bool set = (image[bitmapOffset(x, y)] & (0x80 >> (x % 8))) != 0;
            const Rgb colour = set ? inkColour(attribute) : paperColour(attribute);
            painter.fillRect(2 * x, 2 * y, 2, 2, QColor(colour.red, colour.green, colour.blue));
        }
    }
}
