#pragma once

#include <QString>
#include <QStringList>

class QSqlQuery;
class QVariant;

// A query result as a spreadsheet file: CSV in UTF-8 with a byte-order mark,
// a header line of field names, then one line per row; values holding a
// comma, a quote or a line break are quoted, quotes doubled.
namespace SpreadsheetWriter {

// The report's file name with ".csv" in place of its ".htm" or ".html";
// empty when the typed name is.
QString fileName(const QString &typed);

// One value as a field: numbers without grouping, dates as YYYY-MM-DD.
QString field(const QVariant &value);

struct Outcome
{
    qint64 rows = 0;
    QString error; // empty when the file was written
};

// Writes `fields` of `rows` (an active query before its first row) row by row
// to a new file that replaces `path` only once it is complete.
Outcome write(const QString &path, const QStringList &fields, QSqlQuery &rows);

} // namespace SpreadsheetWriter
