#pragma once

#include "platform/Desktop.h"

// The desktop of a Linux session: printers through CUPS, pages through the
// freedesktop tools (xdg-mime for the association, xdg-open to show them).
class SystemDesktop : public Desktop
{
public:
    bool hasPrinter() const override;
    bool print(QTextDocument &document, QWidget *parent) override;
    Opened openPage(const QString &address) override;
};
