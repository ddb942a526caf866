// Qt objects behind the services, for tests and benchmarks that drive real
// widgets. The program itself never includes this header.
#pragma once

#include <QImage>

class QMainWindow;
class QWidget;

// The top-level widget of an open window; null if none.
QMainWindow* windowWidget(int window);

// The widget of a gadget; for a canvas, the drawable area that reports the
// pointer (inside the border). Null if the number is not in use.
QWidget* gadgetWidget(int gadget);

// The persistent picture of a canvas, read-only over the picture's own
// memory (copy() it to keep what it shows now); null if the gadget is not a
// canvas.
QImage canvasPicture(int gadget);
