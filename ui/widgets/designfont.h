#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

namespace Dravix {

// The design's point sizes: captions, lists and name boxes; buttons; the entries and the model
// heading.
inline constexpr qreal kTextPoints = 9.75;
inline constexpr qreal kButtonPoints = 8.25;
inline constexpr qreal kLargePoints = 12;

// Arial where the system has it, else Liberation Sans, which has Arial's metrics, scales and has
// a true bold. The design's "MS Sans Serif" exists on Linux only as bitmaps of one size (in the
// Windows-metric fonts package), without bold and unusable at 1.5x or 2x. Only a family that is
// installed is named: asking for a missing one makes the toolkit search substitutes.
inline QFont designFont(const QFont &base, qreal points, bool bold)
{
    static const QStringList installed = QFontDatabase::families();
    const QStringList families{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
    const auto present = std::find_if(families.cbegin(), families.cend(),
                                      [](const QString &name) { return installed.contains(name); });
    QFont font = base;
    font.setFamily(present != families.cend() ? *present : base.family());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace Dravix
