#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <utility>

// One student's bill as a printed page: the school, the term and the day, who
// is billed, each line of the bill and the money of the row, amounts as
// "#,##0.00".
namespace BillPrintout {

// The Student columns the page reads.
const QStringList &columns();

// The bill text's lines as (item, amount); a line without "=" has no amount.
QList<std::pair<QString, QString>> items(const QString &billText);

// The page as HTML for a text document; `row` holds the columns above.
QString html(const QString &school, const QString &term, const QDate &date,
             const QVariantMap &row);

} // namespace BillPrintout
