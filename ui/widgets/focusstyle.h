#pragma once

#include <QProxyStyle>

class QWidget;

namespace Dravix {

// The toolkit's style with a solid black ring on the control that has the keyboard focus, so
// that the focus shows on every control, also against the window's blue.
class FocusStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // The ring's thickness and its distance from the control's edge, in pixels.
    static constexpr int kRingWidth = 2;
    static constexpr int kFramedInset = 2;

    // Gives the style to a window and to every control in it.
    static void applyTo(QWidget *window);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;

private:
    FocusStyle();
};

} // namespace Dravix
