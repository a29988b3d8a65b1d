#pragma once

#include <QAbstractButton>
#include <QLabel>
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

} // namespace Dravix
