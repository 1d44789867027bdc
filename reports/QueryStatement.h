#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

// One marked criteria row as the form read it: the row's index, its operator
// caption and its value as text (a date as YYYY-MM-DD).
struct Criterion
{
    int row;
    QString op;
    QString value;
};

// The outcome of a search, kept for the report designer: the statement with a
// ? wherever a value goes, and the values beside it. Only the statement is
// kept, never the rows, so the designer runs it again or streams it.
class QueryResult
{
public:
    QueryResult() = default;
    QueryResult(QString table, QString where, QString sortClause, QVariantList values);

    QString table() const { return m_table; }
    // SELECT * FROM <table> [WHERE  <criteria>] ORDER BY ...
    QString statement() const;
    QString countStatement() const;
    QVariantList values() const { return m_values; }
    bool isEmpty() const { return m_table.isEmpty(); }

    // The statement prepared, bound and run, forward only unless a grid is
    // to scroll back over it. Check isActive().
    QSqlQuery run(const QSqlDatabase &db, bool forwardOnly = true) const;
    // The same rows with only `columns`, in that order.
    QSqlQuery run(const QSqlDatabase &db, const QStringList &columns) const;
    // How many rows the statement gives, counted by the engine; -1 on error.
    qint64 count(const QSqlDatabase &db, QString *error = nullptr) const;

    // The fields the designer may offer: all of them, Remarks only to an
    // operator who gave the password.
    QStringList availableFields;

private:
    QString m_table;
    QString m_where;
    QString m_sortClause;
    QVariantList m_values;
};

namespace QueryStatement {

// " ORDER BY [s0]", then ",[s1]" and ",[s2]" for the keys that differ from the
// first (exactly, letter case counts).
QString sortClause(const QString &s0, const QString &s1, const QString &s2);

// Every row of the table.
QueryResult whole(const QString &table, const QString &sortClause);
// The rows matching every criterion. Values are bound: like gets %value%,
// number rows the leading number of the text, others the trimmed text.
QueryResult filtered(const QString &table, const QList<Criterion> &criteria,
                     const QString &sortClause);

// The sort lists' fields: columns in table order but Picture and Remarks.
QStringList sortFields(const QStringList &columns);
// The designer's fields: every column; "Remarks" only when granted.
QStringList designerFields(const QStringList &columns, bool loginGranted);

} // namespace QueryStatement
