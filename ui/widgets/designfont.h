#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

namespace Dravix {

// The design's fonts where the system has them, else the metric-compatible ones. Only a family
// that is installed is named: asking for a missing one makes the toolkit search substitutes.
inline QFont designFont(const QFont &base, qreal points, bool bold, const QString &first = {})
{
    static const QStringList installed = QFontDatabase::families();
    QStringList families;
    if (!first.isEmpty())
        families << first;
    families << QStringLiteral("MS Sans Serif") << QStringLiteral("Arial")
             << QStringLiteral("Liberation Sans");
    const auto present = std::find_if(families.cbegin(), families.cend(),
                                      [](const QString &name) { return installed.contains(name); });
    QFont font = base;
    font.setFamily(present != families.cend() ? *present : base.family());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace Dravix
