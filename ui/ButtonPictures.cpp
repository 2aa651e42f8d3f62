#include "ButtonPictures.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace ButtonPictures {
namespace {

void arrow(QPainter& p, bool right, const QColor& colour)
{
    QPolygonF tri;
    if (right)
        tri << QPointF(10, 5) << QPointF(26, 16) << QPointF(10, 27);
    else
        tri << QPointF(22, 5) << QPointF(6, 16) << QPointF(22, 27);
    p.setBrush(colour);
    p.setPen(QPen(colour.darker(150), 1.5));
    p.drawPolygon(tri);
}

void draw(QPainter& p, Picture picture)
{
    const QColor navy(0, 0, 128), green(0, 128, 0), red(200, 0, 0), grey(80, 80, 80);
    switch (picture) {
    case Picture::Net:
        p.setPen(QPen(navy, 2));
        p.setBrush(QColor(170, 200, 255));
        p.drawRect(3, 4, 12, 9);
        p.drawRect(17, 4, 12, 9);
        p.drawLine(9, 13, 9, 20);
        p.drawLine(23, 13, 23, 20);
        p.drawLine(9, 20, 23, 20);
        p.drawLine(16, 20, 16, 27);
        p.drawRect(11, 25, 10, 4);
        break;
    case Picture::Options: {
        p.setPen(QPen(grey, 2));
        p.setBrush(QColor(200, 200, 200));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(i * 45);
            p.drawRect(-2, -14, 4, 6);
            p.restore();
        }
        p.drawEllipse(QPointF(16, 16), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
        break;
    }
    case Picture::Limit:
        p.setPen(QPen(red, 3));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.setPen(QPen(Qt::black, 1));
        p.setFont(QFont(QStringLiteral("Liberation Sans"), 9, QFont::Bold));
        p.drawText(QRectF(4, 4, 24, 24), Qt::AlignCenter, QStringLiteral("Л"));
        break;
    case Picture::ShowHot:
        p.setPen(QPen(navy, 1.5));
        p.setBrush(QColor(255, 140, 0));
        p.drawPolygon(QPolygonF() << QPointF(16, 3) << QPointF(26, 13) << QPointF(6, 13));
        p.drawPolygon(QPolygonF() << QPointF(16, 29) << QPointF(26, 19) << QPointF(6, 19));
        break;
    case Picture::All:
        p.setPen(QPen(navy, 1.5));
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawRect(4 + i * 4, 4 + i * 4, 14, 16);
        break;
    case Picture::Prev:
        arrow(p, false, QColor(0, 150, 0));
        break;
    case Picture::Next:
        arrow(p, true, QColor(0, 150, 0));
        break;
    case Picture::Exit:
        p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 6, 22, 22), 120 * 16, 300 * 16);
        p.drawLine(16, 3, 16, 15);
        break;
    case Picture::Ok:
        p.setPen(QPen(green, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF() << QPointF(6, 17) << QPointF(13, 24) << QPointF(26, 8));
        break;
    case Picture::Cancel:
        p.setPen(QPen(red, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(8, 8, 24, 24);
        p.drawLine(24, 8, 8, 24);
        break;
    case Picture::Sound:
        p.setPen(QPen(navy, 2));
        p.setBrush(navy);
        p.drawEllipse(QPointF(10, 24), 4, 3);
        p.drawLine(14, 24, 14, 5);
        p.drawLine(14, 5, 24, 9);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18, 12, 10, 12), -60 * 16, 120 * 16);
        break;
    case Picture::Clock:
        p.setPen(QPen(navy, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        p.drawLine(16, 16, 16, 8);
        p.drawLine(16, 16, 22, 19);
        break;
    }
}

} // namespace

QIcon icon(Picture picture)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, picture);
    p.end();
    return QIcon(pixmap);
}

} // namespace ButtonPictures
