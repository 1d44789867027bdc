#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

// The fee schedule table read by the bill: item names are the columns after
// Class_Level (at most twenty), one row of amounts per class level.
class FeeSchedule {
public:
    static constexpr int itemCount = 20;

    explicit FeeSchedule(QSqlDatabase db);

    // Names of item columns 1..20; fewer when the table has fewer columns.
    QStringList itemNames() const;

    // Amounts of the row whose Class_Level equals the trimmed level; none when
    // the key is empty, no row matches or the query fails.
    std::optional<QList<double>> amountsFor(const QString &level) const;

private:
    QSqlDatabase m_db;
};
