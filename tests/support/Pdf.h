#pragma once

#include "Fakes.h"

#include <QPrinter>
#include <QProcess>
#include <QTextDocument>

// Printing on the fake desktop goes to the PDF file `pdf`, laid out as on paper.
inline void printToPdf(FakeDesktop &desktop, const QString &pdf)
{
    desktop.onPrint = [pdf](QTextDocument &document) {
        QPrinter out(QPrinter::HighResolution);
        out.setOutputFormat(QPrinter::PdfFormat);
        out.setOutputFileName(pdf);
        document.print(&out);
        return true;
    };
}

// The lines pdftotext reads from a PDF as laid out, spaces simplified, blank
// lines left out.
inline QStringList pdfLines(const QString &pdf)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.waitForFinished(30000);
    QStringList lines;
    for (const QString &line : QString::fromUtf8(text.readAllStandardOutput()).split(u'\n'))
        if (!line.simplified().isEmpty())
            lines << line.simplified();
    return lines;
}
