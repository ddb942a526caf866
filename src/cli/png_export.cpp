#include "cli/png_export.h"

#include "display/render.h"
#include "files/png_file.h"
#include "platform/drawing.h"
#include "platform/images.h"
#include "platform/text.h"
#include "screen/layout.h"

namespace {

// The one off-screen image the batch companion draws on.
constexpr int PictureImage = 0;

// The drawn picture as RGB bytes, row by row.
RgbImage rgbOf(const PictureView& picture) {
    RgbImage rgb{picture.width, picture.height, {}};
    rgb.bytes.resize(3 * static_cast<std::size_t>(picture.width) *
                     static_cast<std::size_t>(picture.height));
    std::uint8_t* out = rgb.bytes.data();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x, out += 3) {
            const ColourValue colour = picture.colourAt(x, y);
            out[0] = static_cast<std::uint8_t>(colour);
            out[1] = static_cast<std::uint8_t>(colour >> 8);
            out[2] = static_cast<std::uint8_t>(colour >> 16);
        }
    }
    return rgb;
}

}  // namespace

std::vector<std::uint8_t> screenPng(const std::uint8_t* image, const PngOptions& options) {
    if (createImage(PictureImage, ScreenWidth * options.scale, ScreenHeight * options.scale) == 0 ||
        startDrawing(imageOutput(PictureImage)) == 0) {
        freeImage(PictureImage);
        return {};
    }
    renderPane(image, options.mono ? PaneKind::Mono : PaneKind::Colour, options.column, options.row,
               options.grid, options.scale);
    stopDrawing();
    std::vector<std::uint8_t> png = encodePng(rgbOf(imagePixels(PictureImage)));
    freeImage(PictureImage);
    return png;
}

std::string defaultPngName(const std::string& screenPath) {
    return filePart(screenPath) + ".png";
}
