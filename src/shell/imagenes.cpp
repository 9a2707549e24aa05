#include "shell/imagenes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace imagenes {

namespace {
const QColor kAzul(0x2f, 0x6f, 0xb3);
const QColor kVerde(0x3f, 0xa3, 0x7a);
const QColor kClaro(0xe8, 0xf1, 0xfb);

QPixmap lienzo(const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Three rising bars in a rounded square: the mark of the console.
void marca(QPainter& p, const QRectF& r) {
    QLinearGradient fondo(r.topLeft(), r.bottomRight());
    fondo.setColorAt(0, kAzul);
    fondo.setColorAt(1, kVerde);
    p.setPen(Qt::NoPen);
    p.setBrush(fondo);
    p.drawRoundedRect(r, r.width() * 0.2, r.width() * 0.2);
    p.setBrush(Qt::white);
    const qreal w = r.width() / 7;
    for (int i = 0; i < 3; ++i) {
        const qreal h = r.height() * (0.25 + 0.2 * i);
        p.drawRoundedRect(
            QRectF(r.left() + w * (1 + 2 * i), r.bottom() - r.height() * 0.15 - h, w, h), 2, 2);
    }
}
} // namespace

QPixmap logo(const QSize& size) {
    QPixmap pixmap = lienzo(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal lado = size.height();
    marca(p, QRectF(0, 0, lado, lado));
    QFont letra(QStringLiteral("Sans"));
    letra.setBold(true);
    letra.setPixelSize(int(lado * 0.45));
    p.setFont(letra);
    p.setPen(kClaro);
    p.drawText(QRectF(lado + 8, 0, size.width() - lado - 8, lado), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Orvilex"));
    return pixmap;
}

QPixmap sello(const QSize& size) {
    QPixmap pixmap = lienzo(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r(2, 2, size.width() - 4, size.height() - 4);
    p.setPen(QPen(kClaro, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r);
    // A key: the console keeps the suite's doors.
    p.setBrush(kClaro);
    const qreal c = r.center().y();
    p.drawEllipse(QPointF(r.left() + r.width() * 0.35, c), r.width() * 0.12, r.width() * 0.12);
    p.drawRect(QRectF(r.left() + r.width() * 0.42, c - 2, r.width() * 0.35, 4));
    p.drawRect(QRectF(r.left() + r.width() * 0.68, c, 4, r.height() * 0.12));
    return pixmap;
}

QPixmap panel(const QSize& size) {
    QPixmap pixmap = lienzo(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal lado = std::min(size.width(), size.height()) * 0.8;
    marca(p, QRectF((size.width() - lado) / 2, (size.height() - lado) / 2, lado, lado));
    return pixmap;
}

} // namespace imagenes
