#include "reports/SpreadsheetWriter.h"

#include "platform/DurableFiles.h"
#include "reports/ReportWriter.h"

#include <QDate>
#include <QDateTime>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <vector>

namespace SpreadsheetWriter {

namespace {

void appendField(QString &line, const QString &text)
{
    const bool quoted = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') ||
                        text.contains(u'\r');
    if (!quoted) {
        line += text;
        return;
    }
    line += u'"';
    line += QString(text).replace(u'"', QStringLiteral("\"\""));
    line += u'"';
}

} // namespace

QString fileName(const QString &typed)
{
    QString name = ReportWriter::fileName(typed);
    if (name.isEmpty())
        return {};
    name.truncate(name.lastIndexOf(u'.'));
    if (!name.endsWith(QLatin1String(".csv")))
        name += QStringLiteral(".csv");
    return name;
}

QString field(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(Qt::ISODate);
    default:
        return ReportWriter::valueText(value);
    }
}

Outcome write(const QString &path, const QStringList &fields, QSqlQuery &rows)
{
    Outcome outcome;
    QSaveFile file(path);
    const QSqlRecord record = rows.record();
    std::vector<int> columns;
    QString line;
    for (const QString &f : fields) {
        if (!columns.empty())
            line += u',';
        columns.push_back(record.indexOf(f));
        appendField(line, f);
    }
    line += QLatin1String("\r\n");
    bool ok = file.open(QIODevice::WriteOnly) && file.write("\xEF\xBB\xBF", 3) == 3 &&
              file.write(line.toUtf8()) >= 0;
    // One row at a time: the file grows, the memory does not.
    while (ok && rows.next()) {
        line.resize(0);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0)
                line += u',';
            if (columns[i] >= 0)
                appendField(line, field(rows.value(columns[i])));
        }
        line += QLatin1String("\r\n");
        ok = file.write(line.toUtf8()) >= 0;
        ++outcome.rows;
    }
    if (ok && rows.lastError().isValid())
        ok = false;
    if (ok && file.commit()) {
        DurableFiles::syncFolderOf(path);
        return outcome;
    }
    outcome.error = QStringLiteral("Could not write the spreadsheet ") + path + QStringLiteral(" (") +
                    (rows.lastError().isValid() ? rows.lastError().text() : file.errorString()) +
                    u')';
    outcome.rows = 0;
    file.cancelWriting();
    return outcome;
}

} // namespace SpreadsheetWriter
