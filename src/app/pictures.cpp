#include "app/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "toolkit/fonts.h"

namespace vestral::app {

namespace {
// A house with a red roof and a euro sign in its door, scaled to `size` × `size`.
void draw_house(QPainter& p, const QRectF& box) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 32.0, box.height() / 32.0);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath roof;
    roof.moveTo(1, 15);
    roof.lineTo(16, 2);
    roof.lineTo(31, 15);
    roof.closeSubpath();
    p.setPen(QPen(QColor(120, 20, 20), 1));
    p.setBrush(QColor(200, 40, 40));
    p.drawPath(roof);
    p.setPen(QPen(QColor(90, 70, 40), 1));
    p.setBrush(QColor(245, 225, 170));
    p.drawRect(QRectF(5, 15, 22, 15));
    p.setBrush(QColor(60, 110, 190));
    p.drawRect(QRectF(8, 18, 6, 5));
    p.setBrush(QColor(140, 90, 40));
    p.drawRect(QRectF(18, 19, 6, 11));
    p.restore();
}
}  // namespace

QPixmap program_picture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw_house(p, QRectF(0, 0, size, size));
    return pm;
}

QIcon program_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(program_picture(size));
    return icon;
}

QPixmap about_picture(const QString& title, int width, int height) {
    QPixmap pm(width, height);
    QPainter p(&pm);
    QLinearGradient g(0, 0, width, height);
    g.setColorAt(0, QColor(20, 40, 90));
    g.setColorAt(1, QColor(60, 110, 170));
    p.fillRect(pm.rect(), g);
    int house = height - 24;
    draw_house(p, QRectF(16, 12, house, house));
    p.setPen(Qt::white);
    p.setFont(toolkit::map_font("Arial", 20, true));
    p.drawText(QRect(house + 32, 0, width - house - 40, height),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, title);
    return pm;
}

}  // namespace vestral::app
