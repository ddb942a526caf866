#include "cli/png_export.h"

#include "display/render.h"
#include "platform/drawing.h"
#include "platform/images.h"
#include "platform/text.h"
#include "screen/layout.h"

namespace {

// The one off-screen image the batch companion draws on.
constexpr int PictureImage = 0;
constexpr int MonoPaneNumber = 0;
constexpr int ColourPaneNumber = 1;

}  // namespace

std::vector<std::uint8_t> screenPng(const std::uint8_t* image, const PngOptions& options) {
    if (createImage(PictureImage, ScreenWidth * options.scale, ScreenHeight * options.scale) == 0 ||
        startDrawing(imageOutput(PictureImage)) == 0) {
        freeImage(PictureImage);
        return {};
    }
    renderPane(image, options.mono ? MonoPaneNumber : ColourPaneNumber, options.column, options.row,
               options.grid, options.scale);
    stopDrawing();
    std::vector<std::uint8_t> png = encodeImagePng(PictureImage);
    freeImage(PictureImage);
    return png;
}

std::string defaultPngName(const std::string& screenPath) {
    return filePart(screenPath) + ".png";
}
