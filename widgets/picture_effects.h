#pragma once
// Picture treatments of the list and button widgets. A picture's background is one plain
// colour (for the button: its top-left pixel's) that counts as transparent.
#include <QColor>
#include <QImage>

namespace zw {

// Thresholds on the sum of red, green and blue (0 to 765) that divide a picture into
// white, highlight, shadow and black for its grey form.
enum class ShadingType { Light, Medium, Dark };

// The colour of the top-left pixel, which the button's pictures use as their background.
QRgb backgroundOf(const QImage& picture);

// `picture` with every pixel of `colour` made fully transparent (ARGB32, premultiplied).
QImage withTransparentColour(const QImage& picture, QRgb colour);

// The grey form of a colour picture: the background stays as it is; every other pixel
// becomes white, `highlight`, `shadow` or black by its brightness.
QImage greyPicture(const QImage& picture, ShadingType shading, QColor highlight, QColor shadow);

// The engraved look of a disabled picture, on a transparent background one pixel larger
// each way: every pixel that is neither white nor background is drawn in `highlight` one
// pixel right and down, then in `shadow` at its own place. A "pixel" is a logical one, so
// the look stays the same at any device pixel ratio.
QImage embossedPicture(const QImage& picture, QColor highlight, QColor shadow);

} // namespace zw
