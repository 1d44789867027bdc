#pragma once

#include <QString>

class QTextDocument;
class QWidget;

// What the program asks of the desktop around it. The widget implementation
// lives in the forms library; tests use a fake.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // Whether the system knows at least one printer.
    virtual bool hasPrinter() const = 0;
    // Prints `document` after the print dialog, where the operator may choose
    // another printer or a file. False when the dialog was cancelled or the
    // printer failed.
    virtual bool print(QTextDocument &document, QWidget *parent) = 0;

    enum class Opened { Shown, NoBrowser, StartFailed };
    // Shows `address` (a file:// or web address, or a mailto: address) with
    // the program the desktop associates with it. Opening a page again shows
    // the file as it is now, with what was appended since.
    virtual Opened openPage(const QString &address) = 0;
};
