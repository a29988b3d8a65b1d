#pragma once

#include "controlstate.h"
#include "twips.h"

#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace Dravix {

// Colours shared by the two dialogs.
namespace DialogStyle {

inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kFileListBackground{255, 224, 192};

inline void setColour(QWidget *widget, QPalette::ColorRole role, const Rgb &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, toColor(colour));
    widget->setPalette(palette);
}

} // namespace DialogStyle

} // namespace Dravix
