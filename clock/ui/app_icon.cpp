#include "clock/ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zw {

namespace {
QPixmap drawClock(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // Two bells on top.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPie(QRectF(2, 2, 12, 12), 45 * 16, 180 * 16);
    p.drawPie(QRectF(18, 2, 12, 12), -45 * 16, 180 * 16);
    // The face.
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QRectF(3, 5, 26, 26));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 8, 20, 20));
    // Hands at ten past ten.
    QPen hand(QColor(30, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(hand);
    const QPointF centre(16, 18);
    p.drawLine(centre, QPointF(11.5, 14));
    p.drawLine(centre, QPointF(21.5, 12.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(centre, 1.5, 1.5);
    return pixmap;
}
} // namespace

QIcon appIcon()
{
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 22, 24, 32, 48, 64})
            i.addPixmap(drawClock(size));
        return i;
    }();
    return icon;
}

} // namespace zw
