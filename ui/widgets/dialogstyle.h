#pragma once

#include "controlstate.h"
#include "twips.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace Dravix {

// Fonts, colours and placement shared by the two dialogs.
namespace DialogStyle {

inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kFileListBackground{255, 224, 192};

inline void setColour(QWidget *widget, QPalette::ColorRole role, const Rgb &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, toColor(colour));
    widget->setPalette(palette);
}

inline void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->geometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace DialogStyle

} // namespace Dravix
