#include "widgets/explorer_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace zw {

namespace {

const QColor kOutline(70, 70, 70);

// A sheet of paper with a folded top-right corner, in the 24-unit square.
void drawSheet(QPainter& p, QRectF sheet)
{
    const qreal fold = 5;
    QPolygonF outline;
    outline << sheet.topLeft() << QPointF(sheet.right() - fold, sheet.top())
            << QPointF(sheet.right(), sheet.top() + fold) << sheet.bottomRight() << sheet.bottomLeft();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    QPolygonF corner;
    corner << QPointF(sheet.right() - fold, sheet.top()) << QPointF(sheet.right() - fold, sheet.top() + fold)
           << QPointF(sheet.right(), sheet.top() + fold);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(corner);
}

void drawEdit(QPainter& p)
{
    drawSheet(p, QRectF(3.5, 2.5, 14, 18));
    p.setPen(QPen(QColor(20, 50, 150), 1.2)); // dark enough to stay in the grey form
    for (qreal y = 9; y <= 17; y += 3)
        p.drawLine(QPointF(6, y), QPointF(12, y));

    // The pencil lies across the sheet, its point at the bottom left.
    p.save();
    p.translate(9, 20);
    p.rotate(-45);
    const QRectF body(4, -2.5, 13, 5);
    p.setPen(QPen(QColor(120, 80, 0), 0.9));
    p.setBrush(QColor(250, 200, 30));
    p.drawRect(body);
    p.setBrush(QColor(230, 120, 140)); // the eraser
    p.drawRect(QRectF(body.right(), body.top(), 3, body.height()));
    QPolygonF wood;
    wood << QPointF(0, 0) << QPointF(body.left(), body.top()) << QPointF(body.left(), body.bottom());
    p.setBrush(QColor(235, 200, 150));
    p.drawPolygon(wood);
    QPolygonF lead;
    lead << QPointF(0, 0) << QPointF(1.6, -1) << QPointF(1.6, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    p.drawPolygon(lead);
    p.restore();
}

void drawDelete(QPainter& p)
{
    QPainterPath cross;
    cross.moveTo(5, 5);
    cross.lineTo(19, 19);
    cross.moveTo(19, 5);
    cross.lineTo(5, 19);
    p.setPen(QPen(QColor(120, 0, 0), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    p.setPen(QPen(QColor(225, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
}

void drawProperties(QPainter& p)
{
    drawSheet(p, QRectF(4.5, 2.5, 15, 19));
    const QColor bullets[] = {QColor(220, 40, 40), QColor(40, 160, 60), QColor(40, 90, 210)};
    qreal y = 8;
    for (const QColor& bullet : bullets) {
        p.setPen(Qt::NoPen);
        p.setBrush(bullet);
        p.drawRect(QRectF(7, y - 1.5, 3, 3));
        p.setPen(QPen(QColor(70, 70, 70), 1.2));
        p.drawLine(QPointF(11.5, y), QPointF(16.5, y));
        y += 4.5;
    }
}

void drawSearch(QPainter& p)
{
    p.setPen(QPen(QColor(90, 50, 20), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 14.5), QPointF(20.5, 20.5));
    p.setPen(QPen(kOutline, 2.2));
    p.setBrush(QColor(110, 185, 250));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(6, 6, 8, 8), 100 * 16, 70 * 16); // the glint on the lens
}

} // namespace

QColor explorerPictureBackground()
{
    return QColor(240, 240, 240);
}

QImage explorerPicture(ExplorerPicture which, qreal devicePixelRatio)
{
    const int side = std::max(1, static_cast<int>(std::lround(kExplorerPictureSize * devicePixelRatio)));
    QImage drawing(side, side, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    {
        QPainter p(&drawing);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / qreal(kExplorerPictureSize), side / qreal(kExplorerPictureSize));
        switch (which) {
        case ExplorerPicture::Edit: drawEdit(p); break;
        case ExplorerPicture::Delete: drawDelete(p); break;
        case ExplorerPicture::Properties: drawProperties(p); break;
        case ExplorerPicture::Search: drawSearch(p); break;
        }
    }

    // Laid on the background colour; a drawn pixel that happens to come out in exactly
    // that colour is nudged, or it would turn into a hole.
    const QRgb background = explorerPictureBackground().rgb();
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(background);
    {
        QPainter p(&picture);
        p.drawImage(0, 0, drawing);
    }
    for (int y = 0; y < side; ++y) {
        const auto* drawn = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < side; ++x) {
            if (qAlpha(drawn[x]) != 0 && out[x] == background)
                out[x] = qRgb(qRed(background), qGreen(background), qBlue(background) - 1);
        }
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

} // namespace zw
