#include "platform/SystemDesktop.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

bool SystemDesktop::hasPrinter() const
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool SystemDesktop::print(QTextDocument &document, QWidget *parent)
{
    // A new printer starts on the system's default one.
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}
