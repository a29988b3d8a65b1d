#pragma once

#include "controlstate.h"
#include "twips.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QWidget>

// Fonts, colours and placement shared by the two dialogs.
namespace DialogStyle {

inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kFileListBackground{255, 224, 192};

// "MS Sans Serif" bold where the system has it, else a sans-serif font of the same role.
inline QFont designFont(const QFont &base, qreal points)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      base.family()});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

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
