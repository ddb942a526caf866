// A reference for the pane renderer: the same picture painted the obvious
// way, one QPainter::fillRect per 2 x 2 box, to show what the direct drawing
// service saves.
#pragma once

#include <cstdint>

class QImage;

void paintPaneNaively(QImage& picture, const std::uint8_t* image, int pane);
