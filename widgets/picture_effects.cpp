#include "widgets/picture_effects.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace zw {

namespace {

struct Thresholds {
    int white;
    int highlight;
    int shadow;
};

Thresholds thresholdsOf(ShadingType shading)
{
    switch (shading) {
    case ShadingType::Light: return {205, 127, 68};
    case ShadingType::Dark: return {335, 274, 175};
    case ShadingType::Medium: break;
    }
    return {553, 231, 57};
}

// Opaque pixels of the same colour compare equal whatever alpha format the image has.
QImage asRgb32(const QImage& picture)
{
    return picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QRgb backgroundOf(const QImage& picture)
{
    return picture.isNull() ? qRgb(0, 0, 0) : asRgb32(picture).pixel(0, 0);
}

QImage withTransparentColour(const QImage& picture, QRgb colour)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb opaque = colour | 0xff000000u;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == opaque)
                line[x] = 0;
        }
    }
    return result;
}

QImage greyPicture(const QImage& picture, ShadingType shading, QColor highlight, QColor shadow)
{
    if (picture.isNull())
        return {};
    QImage result = asRgb32(picture);
    const QRgb background = result.pixel(0, 0);
    const Thresholds limits = thresholdsOf(shading);
    const std::array<QRgb, 4> tones = {qRgb(255, 255, 255), highlight.rgb(), shadow.rgb(), qRgb(0, 0, 0)};
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == background)
                continue;
            const int sum = qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]);
            const int tone = sum > limits.white ? 0 : sum > limits.highlight ? 1 : sum > limits.shadow ? 2 : 3;
            line[x] = tones[static_cast<size_t>(tone)];
        }
    }
    return result;
}

QImage embossedPicture(const QImage& picture, QColor highlight, QColor shadow)
{
    if (picture.isNull())
        return {};
    const QImage source = asRgb32(picture);
    const QRgb background = source.pixel(0, 0);
    const int step = std::max(1, static_cast<int>(std::lround(picture.devicePixelRatio())));

    // One opaque mask of the drawn pixels, painted twice in the two colours.
    QImage mask(source.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (in[x] != background && in[x] != qRgb(255, 255, 255))
                out[x] = 0xff000000u;
        }
    }
    const auto tinted = [&mask](QColor colour) {
        QImage layer = mask;
        QPainter painter(&layer);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(layer.rect(), colour);
        return layer;
    };

    QImage result(source.width() + step, source.height() + step, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.drawImage(step, step, tinted(highlight));
        painter.drawImage(0, 0, tinted(shadow));
    }
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}

} // namespace zw
