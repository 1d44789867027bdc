#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// Students from a spreadsheet file: CSV in UTF-8 (a byte-order mark or not),
// quoted as spreadsheets quote, whose first line names columns of the Student
// table. read() checks every line without storing anything; import() then adds
// the new students, all of them or none. A student already in the table is
// never changed.
class StudentImport
{
public:
    struct Problem
    {
        int line; // where the row starts in the file, the first line being 1
        QString text;
    };

    explicit StudentImport(QSqlDatabase db);

    // False when the file as a whole cannot be used; fault() then says why.
    bool read(const QString &file);
    QString fault() const { return m_fault; }

    int newRows() const { return static_cast<int>(m_rows.size()); }
    const QStringList &existingNumbers() const { return m_existing; }
    const QList<Problem> &problems() const { return m_problems; }
    bool canImport() const
    {
        return m_fault.isEmpty() && m_problems.isEmpty() && !m_rows.isEmpty();
    }
    // What was found, for the operator to decide on.
    QString summary() const;

    // Adds the new rows in one transaction. On any failure nothing is stored
    // and `error` says why.
    bool import(QString *error);

private:
    QSqlDatabase m_db;
    QString m_fault;
    QStringList m_columns; // as the table spells them, in the file's order
    QList<QVariantList> m_rows;
    QStringList m_existing;
    QList<Problem> m_problems;
};
