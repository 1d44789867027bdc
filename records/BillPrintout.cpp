#include "records/BillPrintout.h"

#include "platform/Numbers.h"

#include <QLocale>
#include <QRegularExpression>

namespace BillPrintout {

namespace {

QString text(const QVariantMap &row, const char *column)
{
    // Names kept on two lines print on one.
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return row.value(QLatin1String(column)).toString().trimmed().replace(breaks, QStringLiteral(" "));
}

QString money(const QVariantMap &row, const char *column)
{
    return Numbers::moneyText(row.value(QLatin1String(column)).toDouble());
}

QString cells(const QString &what, const QString &amount, bool strong = false)
{
    const QString open = strong ? QStringLiteral("<b>") : QString();
    const QString close = strong ? QStringLiteral("</b>") : QString();
    return QStringLiteral("<tr><td>") + open + what.toHtmlEscaped() + close +
           QStringLiteral("</td><td align=\"right\">") + open + amount.toHtmlEscaped() + close +
           QStringLiteral("</td></tr>");
}

} // namespace

const QStringList &columns()
{
    static const QStringList names{
        QStringLiteral("Number"),           QStringLiteral("Surname"),
        QStringLiteral("Other_Names"),      QStringLiteral("Class_Level"),
        QStringLiteral("Class_Arm"),        QStringLiteral("Bill_This_Term"),
        QStringLiteral("Debt_From_Last_Term"), QStringLiteral("Amount_Payable"),
        QStringLiteral("Cummulative_Paid"), QStringLiteral("Amount_Last_Paid"),
        QStringLiteral("Financial_Balance")};
    return names;
}

QList<std::pair<QString, QString>> items(const QString &billText)
{
    QList<std::pair<QString, QString>> out;
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\r|\\n"));
    for (const QString &line : billText.split(lineBreak, Qt::SkipEmptyParts)) {
        const qsizetype eq = line.lastIndexOf(u'=');
        if (line.trimmed().isEmpty())
            continue;
        if (eq < 0)
            out.append({line.trimmed(), QString()});
        else
            out.append({line.left(eq).trimmed(),
                        Numbers::moneyText(Numbers::readNumber(line.mid(eq + 1)))});
    }
    return out;
}

QString html(const QString &school, const QString &term, const QDate &date,
             const QVariantMap &row)
{
    QString page = QStringLiteral("<h2 align=\"center\">") + school.toHtmlEscaped() +
                   QStringLiteral("</h2><p align=\"center\">Bill for ") +
                   term.trimmed().toHtmlEscaped() + QStringLiteral("<br/>") +
                   QLocale::system().toString(date, QLocale::LongFormat).toHtmlEscaped() +
                   QStringLiteral("</p><table cellpadding=\"3\">");
    const QString names = text(row, "Surname") + u' ' + text(row, "Other_Names");
    const QString klass = text(row, "Class_Level") + u' ' + text(row, "Class_Arm");
    for (const auto &[what, value] : {std::pair{QStringLiteral("Number"), text(row, "Number")},
                                      std::pair{QStringLiteral("Name"), names.trimmed()},
                                      std::pair{QStringLiteral("Class"), klass.trimmed()}})
        page += QStringLiteral("<tr><td>") + what + QStringLiteral(":</td><td><b>") +
                value.toHtmlEscaped() + QStringLiteral("</b></td></tr>");
    page += QStringLiteral("</table><hr/><table width=\"100%\" cellpadding=\"3\">");
    for (const auto &[what, amount] : items(row.value(QStringLiteral("Bill_This_Term")).toString()))
        page += cells(what, amount);
    page += QStringLiteral("</table><hr/><table width=\"100%\" cellpadding=\"3\">") +
            cells(QStringLiteral("Debt from last Term"), money(row, "Debt_From_Last_Term")) +
            cells(QStringLiteral("Amount Payable this Term"), money(row, "Amount_Payable"), true) +
            cells(QStringLiteral("Cummulative Amount Paid This Term"), money(row, "Cummulative_Paid")) +
            cells(QStringLiteral("Amount Last Paid"), money(row, "Amount_Last_Paid")) +
            cells(QStringLiteral("Financial Balance"), money(row, "Financial_Balance"), true) +
            QStringLiteral("</table>");
    return page;
}

} // namespace BillPrintout
