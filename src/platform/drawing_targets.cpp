#include "platform/drawing_targets.h"

#include <map>

namespace {

std::map<DrawingTarget, DrawingSurface*> surfaces;
DrawingTarget lastTarget = 0;

}  // namespace

DrawingTarget addDrawingTarget(DrawingSurface& surface) {
    const DrawingTarget target = ++lastTarget;
    surfaces.emplace(target, &surface);
    return target;
}

void removeDrawingTarget(DrawingTarget target) {
    abandonDrawingOn(target);
    surfaces.erase(target);
}

DrawingSurface* findDrawingSurface(DrawingTarget target) {
    const auto it = surfaces.find(target);
    return it == surfaces.end() ? nullptr : it->second;
}
