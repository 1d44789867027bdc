#pragma once

#include "Fakes.h"

#include <QPrinter>
#include <QProcess>
#include <QTextDocument>

// What the fake desktop prints goes to the PDF file `pdf`.
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

// The PDF file's text line by line as pdftotext lays the page out, blanks aside.
inline QStringList pdfLines(const QString &pdf)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(30000))
        return {QStringLiteral("pdftotext did not finish")};
    QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(u'\n');
    for (QString &l : lines)
        l = l.simplified();
    lines.removeAll(QString());
    return lines;
}
