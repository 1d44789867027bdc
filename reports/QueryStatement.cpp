#include "reports/QueryStatement.h"

#include "platform/Numbers.h"
#include "reports/QueryRows.h"

#include <QSqlError>
#include <QSqlRecord>

QueryResult::QueryResult(QString table, QString where, QString sortClause, QVariantList values)
    : m_table(std::move(table)), m_where(std::move(where)), m_sortClause(std::move(sortClause)),
      m_values(std::move(values))
{
}

QString QueryResult::statement() const
{
    QString s = QStringLiteral("SELECT * FROM ") + m_table;
    if (!m_where.isEmpty())
        s += QStringLiteral(" WHERE  ") + m_where;
    return s + m_sortClause;
}

QString QueryResult::countStatement() const
{
    // No ORDER BY: the engine counts without sorting or reading the rows out.
    QString s = QStringLiteral("SELECT count(*) FROM ") + m_table;
    if (!m_where.isEmpty())
        s += QStringLiteral(" WHERE  ") + m_where;
    return s;
}

namespace {

QSqlQuery prepared(const QSqlDatabase &db, const QString &sql, const QVariantList &values,
                   bool forwardOnly = true)
{
    QSqlQuery q(db);
    q.setForwardOnly(forwardOnly);
    if (!q.prepare(sql))
        return q;
    for (const QVariant &v : values)
        q.addBindValue(v);
    q.exec();
    return q;
}

} // namespace

QSqlQuery QueryResult::run(const QSqlDatabase &db, bool forwardOnly) const
{
    return prepared(db, statement(), m_values, forwardOnly);
}

QSqlQuery QueryResult::run(const QSqlDatabase &db, const QStringList &columns) const
{
    // The names are the table's own columns, never typed text.
    QString list;
    for (const QString &c : columns)
        list += (list.isEmpty() ? QStringLiteral("[") : QStringLiteral(",[")) + c + u']';
    return prepared(db, statement().replace(0, 8, QStringLiteral("SELECT ") + list), m_values);
}

qint64 QueryResult::count(const QSqlDatabase &db, QString *error) const
{
    QSqlQuery q = prepared(db, countStatement(), m_values);
    if (q.isActive() && q.next())
        return q.value(0).toLongLong();
    if (error)
        *error = q.lastError().text();
    return -1;
}

namespace QueryStatement {

QString sortClause(const QString &s0, const QString &s1, const QString &s2)
{
    QString clause = QStringLiteral(" ORDER BY [") + s0 + u']';
    if (s1 != s0)
        clause += QStringLiteral(",[") + s1 + u']';
    if (s2 != s0)
        clause += QStringLiteral(",[") + s2 + u']';
    return clause;
}

QueryResult whole(const QString &table, const QString &sortClause)
{
    return QueryResult(table, {}, sortClause, {});
}

QueryResult filtered(const QString &table, const QList<Criterion> &criteria,
                     const QString &sortClause)
{
    // The blanks are the statement's own: one more after WHERE for the first
    // row, two after each field's bracket.
    QString where;
    QVariantList values;
    for (const Criterion &c : criteria) {
        const QueryRows::Row &row = QueryRows::row(c.row);
        const QString v = c.value.trimmed();
        where += (where.isEmpty() ? QStringLiteral(" [") : QStringLiteral(" AND [")) +
                 QLatin1String(row.field) + QStringLiteral("]  ") + c.op + QStringLiteral(" ?");
        if (c.op == QLatin1String("like"))
            values << QVariant(u'%' + v + u'%');
        else if (row.kind == QueryRows::ValueKind::Number)
            values << QVariant(Numbers::readNumber(v));
        else
            values << QVariant(v);
    }
    return QueryResult(table, where, sortClause, values);
}

QStringList sortFields(const QStringList &columns)
{
    QStringList fields;
    for (const QString &c : columns) {
        const QString lower = c.toLower();
        if (lower != QLatin1String("picture") && lower != QLatin1String("remarks"))
            fields << c;
    }
    return fields;
}

QStringList designerFields(const QStringList &columns, bool loginGranted)
{
    QStringList fields;
    for (const QString &c : columns)
        if (loginGranted || c != QLatin1String("Remarks"))
            fields << c;
    return fields;
}

} // namespace QueryStatement
