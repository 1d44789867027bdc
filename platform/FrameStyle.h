#pragma once

#include <QProxyStyle>

// The desktop's style, with the frame of a line box drawn once for each size,
// state and palette and copied from then on. In the Fusion style the frame's
// smoothed rounded outline is most of what painting a box costs, and a record
// form repaints a dozen boxes on every step. Other styles may animate their
// frames, so theirs are drawn as they are.
class FrameStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

// Puts the application's style under a FrameStyle; done once, before any window shows.
void installFrameStyle();
