#pragma once

#include "platform/Desktop.h"

// The desktop of a Linux session: printers through CUPS.
class SystemDesktop : public Desktop
{
public:
    bool hasPrinter() const override;
    bool print(QTextDocument &document, QWidget *parent) override;
};
