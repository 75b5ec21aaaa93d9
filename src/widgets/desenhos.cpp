#include "desenhos.h"

#include <QPainter>
#include <QPainterPath>

namespace widgets::Desenhos {

QPixmap betoneira(bool emUso, int altura)
{
    const qreal escala = altura / 64.0;
    QPixmap figura(qRound(80 * escala), altura);
    figura.fill(Qt::transparent);
    QPainter p(&figura);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(escala, escala);

    const QColor corDoTambor = emUso ? QColor(0xe0, 0x8a, 0x1e) : QColor(0xa8, 0xa8, 0xa8);
    const QColor faixa = emUso ? QColor(0x9c, 0x4f, 0x0c) : QColor(0x78, 0x78, 0x78);
    const QColor ferro = emUso ? QColor(0x2f, 0x4f, 0x6f) : QColor(0x60, 0x60, 0x60);
    const QColor roda = QColor(0x30, 0x30, 0x30);

    // Stand and wheels.
    p.setPen(QPen(ferro, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 40), QPointF(14, 58));
    p.drawLine(QPointF(38, 40), QPointF(50, 58));
    p.drawLine(QPointF(30, 42), QPointF(66, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(roda);
    p.drawEllipse(QPointF(14, 58), 5, 5);
    p.drawEllipse(QPointF(50, 58), 5, 5);

    // The drum, tilted with its mouth up and to the right; in use it carries motion lines.
    p.save();
    p.translate(32, 28);
    p.rotate(-28);
    p.setPen(QPen(faixa, 1.5));
    p.setBrush(corDoTambor);
    p.drawPath(tambor(1.0));
    p.setPen(QPen(faixa, 2.5));
    p.drawLine(QPointF(-10, -15), QPointF(-12, 15));
    p.drawLine(QPointF(2, -13), QPointF(0, 13));
    p.setBrush(QColor(0x55, 0x55, 0x55));
    p.drawEllipse(QPointF(18, 0), 3, 8);
    p.restore();

    if (emUso) {
        p.setPen(QPen(QColor(0x2e, 0x8b, 0x3a), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(54, 4, 22, 22), 30 * 16, 220 * 16);
        p.drawLine(QPointF(73, 8), QPointF(76, 14));
        p.drawLine(QPointF(73, 8), QPointF(67, 10));
    }
    return figura;
}

QPainterPath tambor(qreal escala)
{
    QPainterPath corpo;
    corpo.moveTo(-22 * escala, -16 * escala);
    corpo.lineTo(10 * escala, -12 * escala);
    corpo.quadTo(26 * escala, 0, 10 * escala, 12 * escala);
    corpo.lineTo(-22 * escala, 16 * escala);
    corpo.quadTo(-30 * escala, 0, -22 * escala, -16 * escala);
    return corpo;
}

} // namespace widgets::Desenhos
