#include "focusstyle.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace Dravix {

namespace {

// Only a control that holds the focus itself: items of a list carry the flag too.
bool holdsFocus(const QStyleOption *option, const QWidget *widget)
{
    return (option->state & QStyle::State_HasFocus) && widget && widget->hasFocus();
}

void drawRing(QPainter *painter, const QRect &outer)
{
    constexpr int w = FocusStyle::kRingWidth;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QColor black(0, 0, 0);
    painter->fillRect(QRect(outer.left(), outer.top(), outer.width(), w), black);
    painter->fillRect(QRect(outer.left(), outer.bottom() - w + 1, outer.width(), w), black);
    painter->fillRect(QRect(outer.left(), outer.top(), w, outer.height()), black);
    painter->fillRect(QRect(outer.right() - w + 1, outer.top(), w, outer.height()), black);
    painter->restore();
}

QRect inset(const QRect &rect, int by)
{
    return rect.adjusted(by, by, -by, -by);
}

} // namespace

FocusStyle::FocusStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
{
}

void FocusStyle::applyTo(QWidget *window)
{
    static FocusStyle *const style = [] {
        auto *created = new FocusStyle;
        created->setParent(qApp);
        return created;
    }();
    window->setStyle(style);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->setStyle(style);
}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_PanelLineEdit && holdsFocus(option, widget))
        drawRing(painter, inset(option->rect, kFramedInset));
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!holdsFocus(option, widget))
        return;
    if (element == CE_PushButton)
        drawRing(painter, inset(option->rect, kFramedInset));
    else if (element == CE_RadioButton)
        drawRing(painter, option->rect);
    else if (element == CE_ShapedFrame && qobject_cast<const QAbstractScrollArea *>(widget))
        drawRing(painter, option->rect);
}

void FocusStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                    QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ComboBox && holdsFocus(option, widget))
        drawRing(painter, inset(option->rect, kFramedInset));
}

} // namespace Dravix
