#include "shell/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPolygon>

namespace qb {
namespace {

constexpr int kW = 30;
constexpr int kH = 20;

void stripes(QPainter& p, std::initializer_list<QColor> colours, bool vertical) {
    const int n = static_cast<int>(colours.size());
    int i = 0;
    for (const QColor& c : colours) {
        if (vertical) {
            p.fillRect(QRect(i * kW / n, 0, kW / n + 1, kH), c);
        } else {
            p.fillRect(QRect(0, i * kH / n, kW, kH / n + 1), c);
        }
        ++i;
    }
}

void star(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QPolygonF points;
    for (int k = 0; k < 10; ++k) {
        const double r = k % 2 == 0 ? radius : radius * 0.45;
        const double angle = -M_PI / 2 + k * M_PI / 5;
        points << QPointF(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(points);
}

void unionCorner(QPainter& p) {
    const QRect corner(0, 0, 15, 10);
    p.fillRect(corner, QColor(0, 36, 125));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(0, 0, 15, 10);
    p.drawLine(15, 0, 0, 10);
    p.setPen(QPen(QColor(200, 16, 46), 2));
    p.drawLine(7, 0, 7, 10);
    p.drawLine(0, 5, 15, 5);
}

void drawFlag(QPainter& p, int entry) {
    const QColor red(200, 16, 46), green(0, 122, 61), white(Qt::white), blue(0, 36, 125),
        black(Qt::black), yellow(252, 209, 22), maroon(128, 0, 32);
    p.setRenderHint(QPainter::Antialiasing);
    switch (entry) {
    case 0: // Australia
        p.fillRect(0, 0, kW, kH, blue);
        unionCorner(p);
        star(p, {7.5, 15.5}, 3, white);
        star(p, {23, 5}, 2, white);
        star(p, {23, 15}, 2, white);
        star(p, {26.5, 10}, 1.6, white);
        break;
    case 1: // Bangladesh
        p.fillRect(0, 0, kW, kH, green);
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QPointF(13, 10), 6, 6);
        break;
    case 2: // Canada
        stripes(p, {red, white, white, red}, true);
        star(p, {15, 10}, 5, red);
        break;
    case 3: // England
        p.fillRect(0, 0, kW, kH, white);
        p.fillRect(13, 0, 4, kH, red);
        p.fillRect(0, 8, kW, 4, red);
        break;
    case 4: // India
        stripes(p, {QColor(255, 153, 51), white, QColor(19, 136, 8)}, false);
        p.setPen(QPen(QColor(0, 0, 128), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(15, 10), 2.6, 2.6);
        break;
    case 5: // Kenya
        stripes(p, {black, white, red, red, white, green}, false);
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QPointF(15, 10), 3, 7);
        break;
    case 6: { // Namibia
        p.fillRect(0, 0, kW, kH, green);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(kW, 0), QPoint(0, kH)}));
        p.setPen(QPen(white, 6));
        p.drawLine(0, kH, kW, 0);
        p.setPen(QPen(red, 3));
        p.drawLine(0, kH, kW, 0);
        star(p, {6, 6}, 3, yellow);
        break;
    }
    case 7: // Netherlands
        stripes(p, {QColor(174, 28, 40), white, QColor(33, 70, 139)}, false);
        break;
    case 8: // New Zealand
        p.fillRect(0, 0, kW, kH, blue);
        unionCorner(p);
        star(p, {23, 5}, 2, red);
        star(p, {21, 11}, 2, red);
        star(p, {25, 10}, 2, red);
        star(p, {23, 16}, 2, red);
        break;
    case 9: { // Pakistan
        p.fillRect(0, 0, kW, kH, QColor(1, 65, 28));
        p.fillRect(0, 0, 8, kH, white);
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawEllipse(QPointF(19, 10), 6, 6);
        p.setBrush(QColor(1, 65, 28));
        p.drawEllipse(QPointF(21, 8.5), 5.3, 5.3);
        star(p, {23, 8}, 1.8, white);
        break;
    }
    case 10: { // South Africa
        stripes(p, {QColor(222, 56, 49), QColor(0, 35, 149)}, false);
        p.setPen(QPen(white, 6));
        QPainterPath y;
        y.moveTo(0, 0);
        y.lineTo(12, 10);
        y.lineTo(0, 20);
        y.moveTo(12, 10);
        y.lineTo(kW, 10);
        p.drawPath(y);
        p.setPen(QPen(QColor(0, 119, 73), 3.5));
        p.drawPath(y);
        p.setPen(Qt::NoPen);
        p.setBrush(black);
        p.drawPolygon(QPolygon({QPoint(0, 3), QPoint(8, 10), QPoint(0, 17)}));
        break;
    }
    case 11: // Sri Lanka
        p.fillRect(0, 0, kW, kH, yellow);
        p.fillRect(2, 2, 4, 16, QColor(0, 83, 78));
        p.fillRect(6, 2, 4, 16, QColor(255, 114, 0));
        p.fillRect(11, 2, 17, 16, maroon);
        break;
    case 12: // West Indies
        p.fillRect(0, 0, kW, kH, maroon);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 110, 60));
        p.drawEllipse(QPointF(15, 12), 8, 6);
        p.fillRect(12, 4, 2, 9, white);
        p.fillRect(15, 4, 2, 9, white);
        p.fillRect(18, 4, 2, 9, white);
        break;
    default: // Zimbabwe
        stripes(p, {green, yellow, red, black, red, yellow, green}, false);
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(12, 10), QPoint(0, kH)}));
        star(p, {4.5, 10}, 2.5, red);
        break;
    }
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kW - 1, kH - 1);
}

// A red cricket ball with its seam.
void drawBall(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 10, 10), size / 16.0));
    p.setBrush(QColor(190, 25, 30));
    const double m = size / 16.0;
    p.drawEllipse(QRectF(m, m, size - 2 * m, size - 2 * m));
    p.setPen(QPen(QColor(245, 235, 210), size / 20.0));
    p.drawArc(QRectF(size * 0.32, m, size * 0.9, size - 2 * m), 120 * 16, 120 * 16);
}

} // namespace

QPixmap nationFlag(int entry) {
    // Drawn once per nation: the lists of 1,600 players ask for each flag many times.
    const QString key = QStringLiteral("quillbay-flag-%1").arg(entry);
    QPixmap flag;
    if (QPixmapCache::find(key, &flag)) {
        return flag;
    }
    flag = QPixmap(kW, kH);
    flag.fill(Qt::white);
    {
        QPainter p(&flag);
        drawFlag(p, entry);
    }
    QPixmapCache::insert(key, flag);
    return flag;
}

QIcon windowIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        drawBall(p, size);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap siteLogo() {
    QPixmap logo(132, 123);
    logo.fill(QColor(20, 60, 30));
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 200, 90), 3));
    p.setBrush(QColor(35, 95, 45));
    p.drawEllipse(QRectF(6, 4, 120, 115));
    p.translate(34, 18);
    drawBall(p, 64);
    p.resetTransform();
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(QColor(240, 225, 160));
    p.drawText(QRect(0, 84, 132, 22), Qt::AlignCenter, QStringLiteral("CRAGMOOR"));
    return logo;
}

} // namespace qb
