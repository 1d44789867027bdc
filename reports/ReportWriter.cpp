#include "reports/ReportWriter.h"

#include "platform/Numbers.h"
#include "platform/Paths.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <cmath>
#include <vector>

namespace ReportWriter {

namespace {

const QLatin1String TableStart(
    "<TABLE BORDER=1 BORDERCOLOR=RED CELLPADDING=5 ALIGN=CENTER BGCOLOR=[SILVER]<TR>");
const QLatin1String Rights("Copyright (C) 2026 Velmoran. All rights reserved.");
const QLatin1String TextCell("<TD><BGCOLOR=[#00FFFF]>");
const QLatin1String PictureCell("<TD><BGCOLOR=[#000FFF]> <img src = ");
const QLatin1String PictureEnd(" width=120 height=120 ALT = Not_Available align=center></TD>");

void appendEscaped(QString &out, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != '&' && c != '<' && c != '>' && c != '"')
            continue;
        out += text.mid(from, i - from);
        out += c == '&' ? QLatin1String("&amp;")
               : c == '<' ? QLatin1String("&lt;")
               : c == '>' ? QLatin1String("&gt;")
                          : QLatin1String("&quot;");
        from = i + 1;
    }
    out += text.mid(from);
}

// The photo's address, its name matched on disk without regard to case; a
// missing name points at the photo folder itself.
QString pictureSource(const QString &appPath, const QVariant &value)
{
    QString relative = QStringLiteral("Pictures/Frontview");
    if (!value.isNull())
        relative += u'/' + value.toString().replace(u'\\', u'/');
    QString file = Paths::resolve(appPath, relative);
    if (value.isNull())
        file += u'/';
    return u'"' + QString::fromLatin1(QUrl::fromLocalFile(file).toEncoded()) + u'"';
}

class Page
{
public:
    Page(const Report &report, const QSqlRecord &record)
        : m_report(report)
    {
        for (const QString &f : report.fields) {
            m_columns.push_back(record.indexOf(f));
            m_header += QStringLiteral("<TH>") + escaped(f) + QStringLiteral("</TH>");
        }
        m_header += QStringLiteral("</TR>");
        m_head = QStringLiteral("\"<HTML><HEAD><TITLE> ") + escaped(report.schoolName) +
                 QStringLiteral(" Brindlemark </TITLE></HEAD><BODY><H2>Auto-generated Query Report</H2>");
        for (const QString &f : report.fields)
            m_picture.push_back(f.compare(QLatin1String("Picture"), Qt::CaseInsensitive) == 0);
    }

    void add(const QSqlQuery &rows)
    {
        m_rows += QLatin1String("<TR>");
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const QVariant value = m_columns[i] < 0 ? QVariant() : rows.value(m_columns[i]);
            const QString text = value.isNull() ? QString() : valueText(value);
            if (m_picture[i] && (value.isNull() || text.endsWith(QLatin1String(".gif"))))
                m_rows += PictureCell + pictureSource(m_report.appPath, value) + PictureEnd;
            else {
                m_rows += TextCell;
                appendEscaped(m_rows, text);
                m_rows += QLatin1String("</TD>");
            }
        }
        m_rows += QLatin1String("</TR>");
        ++m_count;
    }
    int count() const { return m_count; }

    // The page as one quoted line; the page is then empty again.
    QByteArray take(const QString &heading)
    {
        m_rows.prepend(m_head + QLatin1String("<P> ") + escaped(heading) + QLatin1String(" </P>") +
                       TableStart + m_header);
        m_rows += QLatin1String("</TABLE><P> ") + Rights + QLatin1String(" </P></BODY></HTML>\"\r\n");
        const QByteArray text = m_rows.toUtf8();
        m_rows.resize(0); // keeps its room for the next page
        m_count = 0;
        return text;
    }

private:
    const Report &m_report;
    std::vector<int> m_columns;
    std::vector<bool> m_picture;
    QString m_head, m_header, m_rows;
    int m_count = 0;
};

} // namespace

QString valueText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        // Whole amounts, by far the most, skip the general formatting.
        const double v = value.toDouble();
        if (v == std::trunc(v) && std::abs(v) < 1e15)
            return QString::number(qint64(v));
        return Numbers::numberText(v);
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return value.toString();
    }
}

QString fileName(const QString &typed)
{
    QString name = typed.trimmed();
    const qsizetype slash = qMax(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'));
    if (slash >= 0)
        name = name.mid(slash + 1);
    else if (name.contains(u':'))
        name = name.mid(name.lastIndexOf(u':') + 1);
    name = name.toLower();
    if (name.isEmpty())
        return {};
    if (!name.endsWith(QLatin1String(".htm")) && !name.endsWith(QLatin1String(".html")))
        name += QStringLiteral(".htm");
    return name;
}

QString firstHeading(const QString &currentTerm, const QString &title, const QDate &inserted)
{
    QString heading;
    if (inserted.isValid())
        heading = inserted.toString(QStringLiteral("dd/MM/yyyy")) + u' ';
    const QString t = title.trimmed();
    return heading + currentTerm + QStringLiteral("\r\n") +
           (t.isEmpty() ? QStringLiteral("Query result") : t);
}

QString escaped(const QString &text)
{
    QString out;
    appendEscaped(out, text);
    return out;
}

Outcome write(const Report &report, QSqlQuery &rows)
{
    Outcome outcome;
    Page page(report, rows.record());
    QFile file(report.path);
    qint64 before = 0;
    QString heading = report.heading;
    auto flush = [&] {
        if (!file.isOpen()) {
            // Created only once there is a page to put in it.
            if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
                return false;
            before = file.size();
        }
        if (file.write(page.take(heading)) < 0)
            return false;
        heading = QStringLiteral("...More...");
        ++outcome.pages;
        return true;
    };
    bool ok = true;
    while (ok && rows.next()) {
        page.add(rows);
        if (page.count() == RecordsPerPage)
            ok = flush();
    }
    if (ok && page.count() > 0)
        ok = flush();
    if (ok && file.isOpen() && !file.flush())
        ok = false;
    if (!ok) {
        outcome.error = QStringLiteral("Could not write the report ") + report.path +
                        QStringLiteral(" (") + file.errorString() + u')';
        // What this report put in the file goes again; what was there stays.
        if (file.isOpen() && !file.isSequential())
            file.resize(before);
        outcome.pages = 0;
    }
    return outcome;
}

} // namespace ReportWriter
