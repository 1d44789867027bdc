#pragma once

#include "platform/MessageBoxes.h"

// Message boxes on screen, under the program's title, owned by the active window.
class WidgetMessageBoxes : public MessageBoxes
{
public:
    Button show(const QString &text, Icon icon, Buttons buttons) override;
    Button showTitled(const QString &caption, const QString &text, Icon icon, Buttons buttons) override;
};
