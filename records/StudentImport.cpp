#include "records/StudentImport.h"

#include "platform/Numbers.h"
#include "records/StoreErrors.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <algorithm>

namespace {

struct CsvRecord
{
    int line;
    QStringList fields;
};

// Quoted fields may hold commas, doubled quotes and line breaks. Lines that
// hold nothing at all are passed over. `openQuote` is the line of a record
// whose quotes never close, 0 when all do.
QList<CsvRecord> parseCsv(QStringView text, int *openQuote)
{
    QList<CsvRecord> records;
    CsvRecord record{1, {}};
    QString field;
    int line = 1;
    bool quoted = false;
    bool wasQuoted = false;
    auto endField = [&] {
        record.fields << field;
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch != u'"') {
                line += ch == u'\n';
                field += ch;
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                field += ch;
                ++i;
            } else {
                quoted = false;
            }
        } else if (ch == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (ch == u',') {
            endField();
        } else if (ch == u'\n' || ch == u'\r') {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            const bool blank = record.fields.isEmpty() && field.isEmpty() && !wasQuoted;
            endField();
            if (!blank)
                records << record;
            record = {++line, {}};
        } else {
            field += ch;
        }
    }
    *openQuote = quoted ? record.line : 0;
    if (!record.fields.isEmpty() || !field.isEmpty() || wasQuoted) {
        endField();
        records << record;
    }
    return records;
}

// The engine's NOCASE folds only the letters A to Z.
QString asciiLower(QString text)
{
    for (QChar &c : text)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return text;
}

bool isDateColumn(const QString &column)
{
    return column == QLatin1String("Birthday") || column == QLatin1String("Date_Enlisted") ||
           column == QLatin1String("Date_Last_Updated");
}

bool isIsoDate(const QString &text)
{
    return text.size() == 10 && QDate::fromString(text, Qt::ISODate).isValid();
}

} // namespace

StudentImport::StudentImport(QSqlDatabase db) : m_db(std::move(db)) {}

bool StudentImport::read(const QString &file)
{
    *this = StudentImport(m_db);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        m_fault = QStringLiteral("The file ") + file + QStringLiteral(" cannot be read: ") +
                  in.errorString();
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(in.readAll());
    if (utf8.hasError()) {
        m_fault = QStringLiteral("The file is not UTF-8 text. Save it from the spreadsheet as "
                                 "CSV UTF-8 and try again.");
        return false;
    }
    int openQuote = 0;
    const QList<CsvRecord> records = parseCsv(text, &openQuote);
    if (records.isEmpty()) {
        m_fault = QStringLiteral("The file is empty.");
        return false;
    }

    // The table's columns, and which of them hold numbers.
    QHash<QString, QString> known; // lower-case name -> name
    QHash<QString, bool> numeric;
    QSqlQuery info(m_db);
    info.exec(QStringLiteral("SELECT name, type FROM pragma_table_info('Student')"));
    while (info.next()) {
        known.insert(info.value(0).toString().toLower(), info.value(0).toString());
        numeric.insert(info.value(0).toString(), info.value(1).toString() == QLatin1String("REAL"));
    }
    if (known.isEmpty()) {
        m_fault = QStringLiteral("The Student table cannot be read: ") + info.lastError().text();
        return false;
    }

    QStringList unknown;
    for (const QString &name : records.first().fields) {
        const QString column = known.value(name.trimmed().toLower());
        if (column.isEmpty())
            unknown << (name.trimmed().isEmpty() ? QStringLiteral("(a column without a name)")
                                                 : name.trimmed());
        else if (m_columns.contains(column))
            unknown << column + QStringLiteral(" (named twice)");
        m_columns << column;
    }
    if (!unknown.isEmpty()) {
        m_fault = QStringLiteral("The first line names columns the Student table does not have: ") +
                  unknown.join(QStringLiteral(", ")) + u'.';
        m_columns.clear();
        return false;
    }
    const qsizetype numberAt = m_columns.indexOf(QStringLiteral("Number"));
    const qsizetype surnameAt = m_columns.indexOf(QStringLiteral("Surname"));
    if (numberAt < 0 || surnameAt < 0) {
        m_fault = QStringLiteral("The first line must name the columns Number and Surname.");
        return false;
    }

    QSqlQuery exists(m_db);
    exists.prepare(QStringLiteral("SELECT 1 FROM Student WHERE Number = ?"));
    QHash<QString, int> seen; // folded number -> line
    for (qsizetype r = 1; r < records.size(); ++r) {
        const CsvRecord &record = records[r];
        // Spreadsheets write their empty rows as bare commas.
        if (std::all_of(record.fields.cbegin(), record.fields.cend(),
                        [](const QString &f) { return f.trimmed().isEmpty(); }))
            continue;
        if (record.line == openQuote) {
            m_problems << Problem{record.line,
                                  QStringLiteral("a quote is opened and never closed")};
            break;
        }
        if (record.fields.size() != m_columns.size()) {
            m_problems << Problem{record.line,
                                  QStringLiteral("%1 values where the first line names %2 columns")
                                      .arg(record.fields.size())
                                      .arg(m_columns.size())};
            continue;
        }
        QStringList faults;
        QVariantList values;
        for (qsizetype c = 0; c < m_columns.size(); ++c) {
            const QString &column = m_columns[c];
            const QString raw = record.fields[c];
            const QString value = raw.trimmed();
            if (value.isEmpty()) {
                if (c == numberAt || c == surnameAt)
                    faults << QStringLiteral("no ") + column;
                values << QVariant(); // stored as NULL
            } else if (numeric[column]) {
                const std::optional<double> number = Numbers::readWhole(value);
                if (!number)
                    faults << column + QStringLiteral(" \"") + raw +
                                  QStringLiteral("\" is not a number");
                values << (number ? QVariant(*number) : QVariant());
            } else if (isDateColumn(column)) {
                if (!isIsoDate(value))
                    faults << column + QStringLiteral(" \"") + raw +
                                  QStringLiteral("\" is not a date (YYYY-MM-DD)");
                values << value;
            } else {
                values << (c == numberAt ? value : raw);
            }
        }
        const QString number = values[numberAt].toString();
        if (!number.isEmpty()) {
            const auto earlier = seen.constFind(asciiLower(number));
            if (earlier != seen.cend())
                faults << QStringLiteral("the number %1 is already on line %2")
                              .arg(number)
                              .arg(*earlier);
            else
                seen.insert(asciiLower(number), record.line);
        }
        if (!faults.isEmpty()) {
            m_problems << Problem{record.line, faults.join(QStringLiteral("; "))};
            continue;
        }
        exists.addBindValue(number);
        if (!exists.exec()) {
            m_fault =
                QStringLiteral("The Student table cannot be read: ") + exists.lastError().text();
            return false;
        }
        if (exists.next())
            m_existing << number;
        else
            m_rows << values;
        exists.finish();
    }
    return true;
}

QString StudentImport::summary() const
{
    if (!m_fault.isEmpty())
        return m_fault;
    QStringList lines;
    lines << QStringLiteral("New students: %1").arg(m_rows.size());
    lines << QStringLiteral("Numbers already in the table, left as they are: %1")
                 .arg(m_existing.size());
    if (!m_existing.isEmpty())
        lines.last() += QStringLiteral(" (") + m_existing.join(QStringLiteral(", ")) + u')';
    lines << QStringLiteral("Lines that cannot be read: %1").arg(m_problems.size());
    for (const Problem &p : m_problems)
        lines << QStringLiteral("  Line %1: %2.").arg(p.line).arg(p.text);
    if (!m_problems.isEmpty())
        lines << QString() << QStringLiteral("Nothing is imported until every line can be read.");
    return lines.join(u'\n');
}

bool StudentImport::import(QString *error)
{
    if (!canImport()) {
        *error = m_fault.isEmpty() ? QStringLiteral("There is nothing to import.") : m_fault;
        return false;
    }
    QStringList quoted, marks;
    for (const QString &column : m_columns) {
        quoted << u'"' + column + u'"';
        marks << QStringLiteral("?");
    }
    if (!m_db.transaction()) {
        *error = storeErrorText(m_db.lastError(), QStringLiteral("student"), QString(),
                                [](const QString &c) { return c; });
        return false;
    }
    QSqlQuery insert(m_db);
    bool stored = insert.prepare(QStringLiteral("INSERT INTO Student (") + quoted.join(u',') +
                                 QStringLiteral(") VALUES (") + marks.join(u',') + u')');
    QString number;
    for (qsizetype r = 0; stored && r < m_rows.size(); ++r) {
        for (const QVariant &v : m_rows[r])
            insert.addBindValue(v);
        number = m_rows[r][m_columns.indexOf(QStringLiteral("Number"))].toString();
        stored = insert.exec();
    }
    const QSqlError failure = stored ? QSqlError() : insert.lastError();
    insert.finish();
    if (stored && m_db.commit())
        return true;
    *error = storeErrorText(stored ? m_db.lastError() : failure, QStringLiteral("student"), number,
                            [](const QString &c) { return c; });
    m_db.rollback();
    return false;
}
