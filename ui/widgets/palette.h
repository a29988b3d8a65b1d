#pragma once

#include "controlstate.h"
#include "twips.h"

#include <QPalette>
#include <QWidget>

namespace Dravix {

// The colours of the three windows beside the window blue and the entries' (in the logic), and
// the one way a widget is given one.
namespace Palette {

inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kLightGreen{192, 255, 192};
inline constexpr Rgb kLightYellow{255, 255, 192};
inline constexpr Rgb kLightRed{255, 128, 128};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kFileListBackground{255, 224, 192};

inline void setColour(QWidget *widget, QPalette::ColorRole role, const Rgb &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, toColor(colour));
    widget->setPalette(palette);
}

} // namespace Palette

} // namespace Dravix
