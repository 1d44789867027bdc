#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlQuery;

// The HTML report file: pages of at most five records appended to a file in
// the Reports folder, each page one complete document on one quoted line.
namespace ReportWriter {

inline constexpr int RecordsPerPage = 5;

// The file name an operator's typed name becomes: blanks trimmed, only what
// follows the last "\" or "/" (with neither, the last ":"), lower case, ".htm"
// added unless it ends in ".htm" or ".html". Empty: nothing is to be written.
QString fileName(const QString &typed);

// The first page's heading: the inserted date and a blank when there is one,
// the current term, CR LF, and the title ("Query result" when blank).
QString firstHeading(const QString &currentTerm, const QString &title, const QDate &inserted = {});

// A field's value as the report shows it: numbers plain, without grouping.
QString valueText(const QVariant &value);

// Text safe inside HTML: & < > and " as entities.
QString escaped(const QString &text);

struct Report
{
    QString appPath;    // ends in "/"; the photos are under it
    QString schoolName; // in every page's title
    QString path;       // the report file
    QString heading;    // the first page's; later pages say "...More..."
    QStringList fields; // output fields, in column order
};

struct Outcome
{
    int pages = 0;
    QString error; // empty when every page was written
};

// Appends the pages of `rows` (an active query before its first row), one page
// at a time, so no more than one page is ever held. On a failure the file is
// cut back to what it held before, and the error says why.
Outcome write(const Report &report, QSqlQuery &rows);

} // namespace ReportWriter
