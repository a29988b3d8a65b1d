#pragma once

#include "controlstate.h"

#include <QColor>
#include <QRect>
#include <QtMath>

namespace Dravix {

// 15 twips are one device-independent pixel.
inline QRect toPixels(const Rect &r)
{
    return QRect(qRound(r.left / 15.0), qRound(r.top / 15.0), qRound(r.width / 15.0),
                 qRound(r.height / 15.0));
}

inline QColor toColor(const Rgb &c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace Dravix
