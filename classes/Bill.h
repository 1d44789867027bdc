#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The itemised bill of one student for the term, as kept in the record's bill
// text: one "name = amount" line per ticked item, then an optional custom line.
namespace Bill {

struct Composed {
    QString text;
    qint32 total = 0;
};

// Amount of a schedule cell as the whole number the bill uses (halves to even).
qint32 wholeAmount(double scheduleValue);

// Composes the bill text and total from the items in list order. `ticked`
// marks the billed items; a custom text that is not a number is left out.
Composed compose(const QStringList &names, const QList<qint32> &amounts,
                 const QList<bool> &ticked, const QString &customText);

// Whether a custom amount may be billed: none (empty), or one that reads whole and is not
// below 0.
bool customAccepted(const QString &customText);

// Which items the bill text names: an item is ticked when any line of the
// text contains its name (case-sensitive).
QList<bool> ticksFrom(const QString &billText, const QStringList &names);

// The custom amount offered again: the text after the first "=" of the last
// line when that line starts with "Custom"; empty otherwise.
QString customFrom(const QString &billText);

// The new amount payable: the bill total plus the leading number of the debt.
QString payableText(qint32 total, const QString &debtText);

} // namespace Bill
