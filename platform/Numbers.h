#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// How the program reads and writes numbers in its text boxes and files.
namespace Numbers {

// The leading decimal number of a text: blanks, tabs and line feeds are skipped
// wherever they stand, an optional sign, digits with at most one point, an
// optional exponent. A text without a number reads as 0.
double readNumber(const QString &text);

// True when the whole text (blanks around it aside) is one number that
// readNumber reads completely: no grouping, no trailing letters, not empty.
bool isWholeNumberText(const QString &text);

// The number such a text reads as, finite; nothing for any other text. What a
// number box passes is what it stores.
std::optional<double> readWhole(const QString &text);

// Plain decimal text: at most 15 significant digits, no grouping, no trailing
// zeros ("1500", "1500.5", "0.3" for 0.1 + 0.2).
QString numberText(double value);

// The same with at most `digits` significant digits (7 for single precision).
QString numberText(double value, int digits);

// Money as "#,##0.00" with the system's separators: "1,234,567.89",
// "-0.50"; never "-0.00".
QString moneyText(double value);

// To the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint64 roundHalfEven(double value);

// The same, held to the range of a 16-bit or 32-bit whole number.
qint16 toInt16(double value);
qint32 toInt32(double value);

// Two decimals on the single-precision value, an exact half going upward:
// 12.344 -> 12.34, 10.125 -> 10.13, -10.125 -> -10.12, 0.005 -> 0.
float RoundToCents(float value);

} // namespace Numbers
