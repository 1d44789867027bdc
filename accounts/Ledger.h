#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// One transaction of the school's other money: positive when paid to the
// school, negative when paid by it. Amounts are held in whole cents so that
// totals add exactly.
struct LedgerEntry
{
    qint64 id = 0;
    QDate date;
    QString good;
    qint64 cents = 0;
};

// Other income and purchases, in cents. An amount of 0 counts as a purchase.
struct LedgerTotals
{
    qint64 otherIncome = 0;
    qint64 purchases = 0;

    void add(qint64 cents);
    void remove(qint64 cents);
};

// What all students have paid so far and what they have to pay in all.
struct StudentTotals
{
    double paid = 0;
    double payable = 0;
};

// The Accounts table. Rows are reached by their ID, always as a bound value.
class Ledger
{
public:
    explicit Ledger(QSqlDatabase db);

    // Every transaction by date (equal dates by ID); nothing when the table
    // cannot be read.
    std::optional<QList<LedgerEntry>> all();
    std::optional<LedgerEntry> find(qint64 id);

    // Stores a new transaction under the highest ID + 1, so an ID is never
    // given twice, and sets entry.id.
    bool add(LedgerEntry &entry);
    bool update(const LedgerEntry &entry);
    bool remove(qint64 id);
    // Every row or none.
    bool removeAll();

    // The engine's message for the last failure.
    QString lastError() const { return m_error; }

    static std::optional<StudentTotals> studentTotals(const QSqlDatabase &db);

private:
    QSqlDatabase m_db;
    QString m_error;
};
