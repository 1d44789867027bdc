#pragma once

#include <QDate>
#include <QString>

// A date as an operator types it: 14/03/2015, 4/3/2015, 4.3.2015 or
// 2015-03-14 (day before month, always). An invalid date for anything else.
QDate readTypedDate(const QString &text);
