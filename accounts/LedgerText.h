#pragma once

#include "accounts/Ledger.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// The ledger's numbers and texts: amounts to the cent, list lines, totals and
// the printout.
namespace LedgerText {

// Larger amounts are refused: their cents would no longer add exactly.
inline constexpr double LargestAmount = 1e13;

// To the nearest cent, a half away from zero, taken on the value as written
// (12.345 is 12.35 although the binary 12.345 lies just below).
qint64 centsOf(double value);
double amountOf(qint64 cents);

// A magnitude for the amount box: one number, not below 0, not too large.
bool acceptableAmount(const QString &text);
// An acceptable amount box's text to the cent; nothing for any other text.
std::optional<qint64> enteredCents(const QString &text);

// Plain decimal text with its sign: "-1500", "25.5".
QString plainAmount(qint64 cents);

QString signConvention();

// Date, four spaces, the good or service, " = ", the amount.
QString line(const LedgerEntry &entry);

// The printout, line by line: the heading, the summary lines ("what = total"),
// the sign convention, every list line, and the closing lines.
QStringList printout(const QString &heading, const QList<std::pair<QString, QString>> &summary,
                     const QStringList &lines);

} // namespace LedgerText
