#pragma once

#include <QString>
#include <QStringList>

// What the boxes of the record form take, without the form.
namespace BoxRules {

// The boxes whose text is checked before the caret may leave them.
QStringList checkedBoxes();

// Whether `text` may leave the box named `box`: a required box is not blank,
// the debt is any number (below zero, a credit), and an amount (paid, a price,
// a volume) is a number not below zero. Other boxes take anything.
bool accepts(const QString &box, const QString &text);

// The percentage as its box shows it while it is typed: the number read, with
// a point and zeros typed at its end kept so that a fraction can be typed.
QString percentageText(const QString &text);

} // namespace BoxRules
