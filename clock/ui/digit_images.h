#pragma once
// The clock's 66 digit and colon images, drawn by code at the screen's device pixel ratio
// so that they stay sharp at every scale factor.
#include <QImage>
#include <QPixmap>

#include <vector>

namespace zw {

// Image `index` (0 to 65, laid out as clock/face.h describes) at `devicePixelRatio`: 16 x 27 logical
// pixels, opaque.
QImage renderDigitImage(int index, qreal devicePixelRatio);

// The whole set as one picture of 64 x 486 logical pixels: four images per row, image i
// at column i % 4 and row i / 4; the six cells after the last image stay black.
QImage renderDigitSheet(qreal devicePixelRatio);

// The set as the clock uses it, rendered once for one device pixel ratio.
class DigitImageSet {
public:
    explicit DigitImageSet(qreal devicePixelRatio = 1.0);

    qreal devicePixelRatio() const { return devicePixelRatio_; }
    // 16 x 27 logical pixels; an index outside the set gives a null pixmap.
    const QPixmap& image(int index) const;

private:
    qreal devicePixelRatio_;
    std::vector<QPixmap> images_;
    QPixmap none_;
};

} // namespace zw
