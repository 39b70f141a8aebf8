#include "clock/ui/digit_images.h"

#include "clock/face.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>

namespace zw {

namespace {

constexpr qreal kWidth = kDigitImageWidth;
constexpr qreal kHeight = kDigitImageHeight;

// Whole device pixels that cover a logical length.
int deviceExtent(qreal logical, qreal dpr)
{
    return std::max(1, static_cast<int>(std::ceil(logical * dpr - 1e-6)));
}

// Places edges on device pixel boundaries: an edge that falls between two device pixels
// smears into a grey seam, which at 16 x 27 pixels is the difference between a sharp and
// a blurred digit.
struct Grid {
    qreal dpr = 1.0;
    qreal snap(qreal v) const { return std::round(v * dpr) / dpr; }
    // A length of whole device pixels near `v`, at least `minDevice` of them.
    qreal whole(qreal v, int minDevice = 1) const
    {
        return std::max<qreal>(std::round(v * dpr), minDevice) / dpr;
    }
    qreal devicePixel() const { return 1.0 / dpr; }
};

enum class Design { Segments, DotMatrix, Flip };

struct Look {
    Design design = Design::Segments;
    QColor background;
    QColor lit;
    // The dark segments or dots behind the lit ones (transparent for none); on flip cards
    // the split line.
    QColor unlit;
    qreal slant = 0.0;
};

// Indexed by the style number, which is also the style's digit base / 10.
Look lookOf(int styleNumber)
{
    switch (styleNumber) {
    // The dark segments of an LED display only hint at the digit's frame: any brighter and
    // a 1 reads as an 8 at a glance.
    case 0: // LED green
        return {Design::Segments, QColor(0, 0, 0), QColor(0, 255, 0), QColor(0, 20, 0), 0.0};
    case 1: // LED red
        return {Design::Segments, QColor(0, 0, 0), QColor(255, 0, 0), QColor(24, 0, 0), 0.0};
    case 2: // backlit LCD
        return {Design::Segments, QColor(0, 255, 255), QColor(0, 0, 0), QColor(Qt::transparent),
                0.07};
    case 3: // reflective LCD: the unlit segments show as faint shadows
        return {Design::Segments, QColor(100, 145, 102), QColor(0, 0, 0), QColor(88, 130, 90),
                0.07};
    case 4: // dot matrix
        return {Design::DotMatrix, QColor(0, 0, 0), QColor(0, 255, 255), QColor(0, 18, 21), 0.0};
    default: // flip digits
        return {Design::Flip, QColor(0, 0, 0), QColor(255, 255, 255), QColor(96, 96, 96), 0.0};
    }
}

// ---- seven segments ----------------------------------------------------------------

// Bits a (top), b (top right), c (bottom right), d (bottom), e (bottom left),
// f (top left), g (middle).
constexpr std::array<unsigned, 10> kSegmentsOfDigit{
    0b0111111, // 0: a b c d e f
    0b0000110, // 1: b c
    0b1011011, // 2: a b d e g
    0b1001111, // 3: a b c d g
    0b1100110, // 4: b c f g
    0b1101101, // 5: a c d f g
    0b1111101, // 6: a c d e f g
    0b0000111, // 7: a b c
    0b1111111, // 8
    0b1101111, // 9: a b c d f g
};

struct SegmentFrame {
    qreal left, right, top, bottom, middle, thickness, gap;
};

SegmentFrame segmentFrame(const Grid& g, bool slanted)
{
    SegmentFrame f{};
    f.thickness = g.whole(3.0, 2);
    // A slanted digit needs room for its lean inside the 16 pixels.
    f.left = g.snap(slanted ? 2.5 : 2.0);
    f.right = g.snap(slanted ? 13.5 : 14.0);
    f.top = g.snap(2.0);
    f.bottom = g.snap(25.0);
    f.middle = g.snap((f.top + f.bottom - f.thickness) / 2) + f.thickness / 2;
    f.gap = std::max(0.5, g.devicePixel() / 2);
    return f;
}

// A segment along the line from `from` to `to` (horizontal or vertical) with pointed ends,
// pulled back by the gap so that neighbouring segments stay apart.
QPolygonF segment(QPointF from, QPointF to, qreal thickness, qreal gap)
{
    const qreal h = thickness / 2;
    if (from.y() == to.y()) {
        const qreal y = from.y();
        const qreal x1 = from.x() + gap;
        const qreal x2 = to.x() - gap;
        return QPolygonF({{x1, y}, {x1 + h, y - h}, {x2 - h, y - h}, {x2, y}, {x2 - h, y + h},
                          {x1 + h, y + h}});
    }
    const qreal x = from.x();
    const qreal y1 = from.y() + gap;
    const qreal y2 = to.y() - gap;
    return QPolygonF({{x, y1}, {x + h, y1 + h}, {x + h, y2 - h}, {x, y2}, {x - h, y2 - h},
                      {x - h, y1 + h}});
}

std::array<QPolygonF, 7> segmentShapes(const SegmentFrame& f)
{
    const qreal h = f.thickness / 2;
    const qreal l = f.left + h;
    const qreal r = f.right - h;
    const qreal t = f.top + h;
    const qreal b = f.bottom - h;
    const qreal m = f.middle;
    return {
        segment({l, t}, {r, t}, f.thickness, f.gap), // a
        segment({r, t}, {r, m}, f.thickness, f.gap), // b
        segment({r, m}, {r, b}, f.thickness, f.gap), // c
        segment({l, b}, {r, b}, f.thickness, f.gap), // d
        segment({l, m}, {l, b}, f.thickness, f.gap), // e
        segment({l, t}, {l, m}, f.thickness, f.gap), // f
        segment({l, m}, {r, m}, f.thickness, f.gap), // g
    };
}

// Leans the digit to the right about its centre, as segment displays do.
QTransform slantAbout(qreal slant, qreal centreY)
{
    QTransform t;
    t.translate(0, centreY);
    t.shear(-slant, 0);
    t.translate(0, -centreY);
    return t;
}

void drawSegmentDigit(QPainter& p, const Grid& g, const Look& look, int digit)
{
    const SegmentFrame f = segmentFrame(g, look.slant != 0.0);
    const auto shapes = segmentShapes(f);
    p.setTransform(slantAbout(look.slant, kHeight / 2), true);
    p.setPen(Qt::NoPen);
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        const bool on = (kSegmentsOfDigit[static_cast<std::size_t>(digit)] >> s) & 1U;
        const QColor& colour = on ? look.lit : look.unlit;
        if (colour.alpha() == 0)
            continue;
        p.setBrush(colour);
        p.drawPolygon(shapes[s]);
    }
}

void drawSegmentColon(QPainter& p, const Grid& g, const Look& look)
{
    const SegmentFrame f = segmentFrame(g, false);
    const qreal side = f.thickness;
    const qreal upper = g.snap((f.top + f.middle) / 2 - side / 2 + 0.5);
    const qreal lower = g.snap((f.middle + f.bottom) / 2 - side / 2 - 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(look.lit);
    const qreal radius = side / 3;
    p.drawRoundedRect(QRectF(0, upper, side, side), radius, radius);
    p.drawRoundedRect(QRectF(0, lower, side, side), radius, radius);
}

// ---- dot matrix --------------------------------------------------------------------

constexpr int kDotColumns = 5;
constexpr int kDotRows = 7;
constexpr qreal kDotPitch = 3.0;

// Five columns by seven rows, one string per row, '#' = lit.
constexpr std::array<std::array<const char*, kDotRows>, 10> kDotGlyphs{{
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}, // 0
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}, // 1
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}, // 2
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}, // 3
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}, // 4
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}, // 5
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}, // 6
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}, // 7
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}, // 8
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}, // 9
}};

// One dot of the grid, its corner on a device pixel so that every dot has the same shape,
// and small enough to leave dark space to its neighbours at every scale. Two device
// pixels cannot show a circle; they stay a crisp square.
void drawDot(QPainter& p, const Grid& g, qreal x, qreal y, const QColor& colour)
{
    const qreal size = std::max(2.0, std::floor(kDotPitch * g.dpr * 0.72)) / g.dpr;
    const QRectF box(g.snap(x), g.snap(y), size, size);
    if (size * g.dpr < 3)
        p.fillRect(box, colour);
    else {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(box);
    }
}

qreal dotColumnX(int column)
{
    return 1.0 + kDotPitch * column;
}

qreal dotRowY(int row)
{
    const qreal height = kDotPitch * (kDotRows - 1) + 2.0;
    return (kHeight - height) / 2 + kDotPitch * row;
}

void drawDotDigit(QPainter& p, const Grid& g, const Look& look, int digit)
{
    const auto& glyph = kDotGlyphs[static_cast<std::size_t>(digit)];
    for (int row = 0; row < kDotRows; ++row) {
        for (int column = 0; column < kDotColumns; ++column) {
            const bool on = glyph[static_cast<std::size_t>(row)][column] == '#';
            drawDot(p, g, dotColumnX(column), dotRowY(row), on ? look.lit : look.unlit);
        }
    }
}

// Two lit dots and no dark ones: a full column of unlit dots would run the digits on
// either side into one grid.
void drawDotColon(QPainter& p, const Grid& g, const Look& look)
{
    for (int row : {2, 4})
        drawDot(p, g, 0.5, dotRowY(row), look.lit);
}

// ---- flip digits -------------------------------------------------------------------

// The figure's box: centre lines of its strokes, with the stroke width.
struct FlipFrame {
    qreal l, r, t, b, m, w;
    qreal cx() const { return (l + r) / 2; }
};

FlipFrame flipFrame(const Grid& g)
{
    FlipFrame f{};
    f.w = g.whole(2.6, 2);
    const qreal half = f.w / 2;
    f.l = g.snap(3.0) + half;
    f.r = g.snap(13.0) - half;
    f.t = g.snap(4.0) + half;
    f.b = g.snap(23.0) - half;
    f.m = (f.t + f.b) / 2;
    return f;
}

// A vertical stem near `x`, with both its edges on device pixels.
qreal stemAt(const Grid& g, const FlipFrame& f, qreal x)
{
    return g.snap(x - f.w / 2) + f.w / 2;
}

QPainterPath flipFigure(const Grid& g, const FlipFrame& f, int digit)
{
    const qreal l = f.l, r = f.r, t = f.t, b = f.b, m = f.m, cx = f.cx();
    QPainterPath path;
    switch (digit) {
    case 0:
        path.addRoundedRect(QRectF(l, t, r - l, b - t), (r - l) / 2, (r - l) / 2);
        break;
    case 1: {
        const qreal x = stemAt(g, f, cx + 1.0);
        path.moveTo(x - 3.5, t + 3.0);
        path.lineTo(x, t);
        path.lineTo(x, b);
        break;
    }
    case 2: {
        const QRectF bowl(l, t, r - l, r - l + 1.0);
        path.arcMoveTo(bowl, 160);
        path.arcTo(bowl, 160, -205);
        path.lineTo(l, b);
        path.lineTo(r + f.w / 2, b);
        break;
    }
    case 3: {
        const QRectF upper(l + 0.5, t, r - l - 0.5, m - t);
        const QRectF lower(l, m, r - l, b - m);
        path.arcMoveTo(upper, 150);
        path.arcTo(upper, 150, -240);
        path.lineTo(cx - 1.5, m);
        path.moveTo(cx - 1.5, m);
        path.lineTo(cx, m);
        path.arcTo(lower, 90, -245);
        break;
    }
    case 4: {
        const qreal x = stemAt(g, f, r - 1.5);
        const qreal bar = g.snap(m + 3.0 - f.w / 2) + f.w / 2;
        path.moveTo(x, b + f.w / 2);
        path.lineTo(x, t);
        path.lineTo(l, bar);
        path.lineTo(r + f.w / 2, bar);
        break;
    }
    case 5: {
        const QRectF bowl(l, m - 2.0, r - l, b - m + 2.0);
        path.moveTo(r, t);
        path.lineTo(l + 0.5, t);
        path.arcMoveTo(bowl, 150);
        const QPointF bowlStart = path.currentPosition();
        path.moveTo(l + 0.5, t);
        path.lineTo(bowlStart);
        path.arcTo(bowl, 150, -300);
        break;
    }
    case 6:
    case 9: {
        const QRectF loop(l, m - 1.5, r - l, b - m + 1.5);
        const qreal loopMiddle = loop.center().y();
        const QRectF hook(l, t, r - l, 2 * (loopMiddle - t));
        path.arcMoveTo(hook, 55);
        path.arcTo(hook, 55, 125);
        path.addEllipse(loop);
        if (digit == 9) {
            QTransform turn;
            turn.translate(cx, (t + b) / 2);
            turn.rotate(180);
            turn.translate(-cx, -(t + b) / 2);
            path = turn.map(path);
        }
        break;
    }
    case 7:
        path.moveTo(l, t);
        path.lineTo(r, t);
        path.cubicTo(QPointF(r - 2.0, t + 5.0), QPointF(cx - 1.5, m + 2.0), QPointF(cx - 1.5, b));
        break;
    default: // 8
        path.addEllipse(QRectF(l + 0.5, t, r - l - 1.0, m - t));
        path.addEllipse(QRectF(l, m, r - l, b - m));
        break;
    }
    return path;
}

// The card the figure is printed on, a shade off the black panel so that the cards of
// neighbouring digits stand apart.
QRectF flipCard(const Grid& g)
{
    const qreal left = g.snap(0.5);
    const qreal top = g.snap(1.0);
    return QRectF(left, top, g.snap(kWidth - 0.5) - left, g.snap(kHeight - 1.0) - top);
}

void drawFlipCard(QPainter& p, const Grid& g)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(26, 26, 26));
    p.drawRoundedRect(flipCard(g), 1.5, 1.5);
}

// The hinge line where the two halves of the card meet; it cuts through the figure too.
void drawFlipSplit(QPainter& p, const Grid& g, const Look& look)
{
    const QRectF card = flipCard(g);
    const qreal thickness = g.whole(1.0);
    p.fillRect(QRectF(card.left(), g.snap(kHeight / 2 - thickness / 2), card.width(), thickness),
               look.unlit);
}

void drawFlipDigit(QPainter& p, const Grid& g, const Look& look, int digit)
{
    const FlipFrame f = flipFrame(g);
    drawFlipCard(p, g);
    // Sharp corners stay sharp; the acute ones (the tops of 1 and 4) are cut off instead
    // of growing long spikes.
    QPen pen(look.lit, f.w, Qt::SolidLine, Qt::FlatCap, Qt::SvgMiterJoin);
    pen.setMiterLimit(2.0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(flipFigure(g, f, digit));
    drawFlipSplit(p, g, look);
}

void drawFlipColon(QPainter& p, const Grid& g, const Look& look)
{
    const qreal side = g.whole(2.6, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(look.lit);
    p.drawEllipse(QRectF(0, g.snap(8.0), side, side));
    p.drawEllipse(QRectF(0, g.snap(16.5), side, side));
}

void drawImage(QPainter& p, const Grid& g, int index)
{
    if (index < 0 || index >= kDigitImageCount)
        return;
    const bool colon = index >= kColonImageBase;
    const Look look = lookOf(colon ? index - kColonImageBase : index / 10);
    p.fillRect(QRectF(0, 0, kWidth, kHeight), look.background);
    p.setRenderHint(QPainter::Antialiasing);
    switch (look.design) {
    case Design::Segments:
        colon ? drawSegmentColon(p, g, look) : drawSegmentDigit(p, g, look, index % 10);
        break;
    case Design::DotMatrix:
        colon ? drawDotColon(p, g, look) : drawDotDigit(p, g, look, index % 10);
        break;
    case Design::Flip:
        colon ? drawFlipColon(p, g, look) : drawFlipDigit(p, g, look, index % 10);
        break;
    }
}

} // namespace

QImage renderDigitImage(int index, qreal devicePixelRatio)
{
    QImage image(deviceExtent(kWidth, devicePixelRatio), deviceExtent(kHeight, devicePixelRatio),
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&image);
    drawImage(p, Grid{devicePixelRatio}, index);
    return image;
}

QImage renderDigitSheet(qreal devicePixelRatio)
{
    constexpr int columns = 4;
    constexpr int rows = 18; // 486 pixels: the set leaves the last six cells free
    const int cellWidth = deviceExtent(kWidth, devicePixelRatio);
    const int cellHeight = deviceExtent(kHeight, devicePixelRatio);
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    {
        QPainter p(&sheet);
        for (int i = 0; i < kDigitImageCount; ++i) {
            QImage cell = renderDigitImage(i, devicePixelRatio);
            cell.setDevicePixelRatio(1.0); // placed pixel for pixel
            p.drawImage(QPoint((i % columns) * cellWidth, (i / columns) * cellHeight), cell);
        }
    }
    sheet.setDevicePixelRatio(devicePixelRatio);
    return sheet;
}

DigitImageSet::DigitImageSet(qreal devicePixelRatio)
    : devicePixelRatio_(devicePixelRatio)
{
    images_.reserve(kDigitImageCount);
    for (int i = 0; i < kDigitImageCount; ++i)
        images_.push_back(QPixmap::fromImage(renderDigitImage(i, devicePixelRatio)));
}

const QPixmap& DigitImageSet::image(int index) const
{
    if (index < 0 || index >= static_cast<int>(images_.size()))
        return none_;
    return images_[static_cast<std::size_t>(index)];
}

} // namespace zw
