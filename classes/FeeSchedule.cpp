#include "classes/FeeSchedule.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

FeeSchedule::FeeSchedule(QSqlDatabase db) : m_db(std::move(db)) {}

QStringList FeeSchedule::itemNames() const {
    QSqlQuery query(m_db);
    QStringList names;
    if (!query.exec(QStringLiteral("SELECT * FROM [Fees] WHERE 0")))
        return names;
    const QSqlRecord record = query.record();
    const int last = std::min(record.count() - 1, itemCount);
    for (int i = 1; i <= last; ++i)
        names.append(record.fieldName(i));
    return names;
}

std::optional<QList<double>> FeeSchedule::amountsFor(const QString &level) const {
    const QString key = level.trimmed();
    if (key.isEmpty())
        return std::nullopt;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT * FROM [Fees] WHERE Class_Level = ?"));
    query.addBindValue(key);
    if (!query.exec() || !query.next())
        return std::nullopt;
    QList<double> amounts;
    const int last = std::min(query.record().count() - 1, itemCount);
    for (int i = 1; i <= last; ++i)
        amounts.append(query.value(i).toDouble());
    return amounts;
}
