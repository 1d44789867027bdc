#pragma once

#include <QSqlError>
#include <QString>
#include <functional>

// The operator's words for what the engine refused when a row was stored: a
// number already taken, a field that must be a number, a database that cannot
// be written. Anything else keeps the engine's own words.
QString storeErrorText(const QSqlError &error, const QString &kind, const QString &number,
                       const std::function<QString(const QString &column)> &caption);
