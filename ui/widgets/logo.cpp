#include "logo.h"

#include "palette.h"

#include <QPainter>
#include <QPainterPath>

namespace Dravix {

Logo::Logo(QWidget *parent)
    : QWidget(parent)
{
}

void Logo::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(4, 4, -4, -4);
    painter.setPen(QPen(toColor(Palette::kWhite), 3));
    painter.setBrush(QColor(0, 84, 140));
    painter.drawRoundedRect(frame, 14, 14);
    QPainterPath wave;
    const double mid = frame.top() + frame.height() * 0.42;
    const double step = (frame.width() - 24) / 4;
    wave.moveTo(frame.left() + 12, mid);
    for (int i = 0; i < 4; ++i) {
        const double x = frame.left() + 12 + i * step;
        wave.cubicTo(x + step * 0.3, mid - 22, x + step * 0.7, mid + 22, x + step, mid);
    }
    painter.setPen(QPen(toColor(Palette::kYellow), 4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    QFont font = this->font();
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(toColor(Palette::kWhite));
    painter.drawText(QRectF(frame.left(), frame.bottom() - 36, frame.width(), 30), Qt::AlignCenter,
                     QStringLiteral("DRAVIX"));
}

} // namespace Dravix
