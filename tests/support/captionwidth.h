#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace Dravix {

// The width a control needs to show its whole caption in the font it shows: the text with the
// style's margins (a push button's least width that styles add is not counted), or the size hint.
inline int captionWidth(const QWidget *widget)
{
    if (auto *button = qobject_cast<const QPushButton *>(widget)) {
        QStyle *style = button->style();
        return button->fontMetrics().horizontalAdvance(button->text()) +
               style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    }
    return widget->sizeHint().width();
}

// The colour a grabbed picture shows at a point in device-independent pixels, which at a
// display scale of 125 % or 150 % is a point of several of the picture's own pixels.
inline QColor pixelAt(const QPixmap &picture, QPoint point)
{
    const qreal scale = picture.devicePixelRatio();
    return picture.toImage().pixelColor(int((point.x() + 0.5) * scale),
                                        int((point.y() + 0.5) * scale));
}

} // namespace Dravix
