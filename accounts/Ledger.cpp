#include "accounts/Ledger.h"

#include "accounts/LedgerText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

void LedgerTotals::add(qint64 cents)
{
    if (cents > 0)
        otherIncome += cents;
    else
        purchases -= cents;
}

void LedgerTotals::remove(qint64 cents)
{
    if (cents > 0)
        otherIncome -= cents;
    else
        purchases += cents;
}

Ledger::Ledger(QSqlDatabase db) : m_db(std::move(db)) {}

namespace {

// The engine's own words, without the driver's.
QString engineMessage(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

LedgerEntry entryOf(const QSqlQuery &q)
{
    return {q.value(0).toLongLong(), QDate::fromString(q.value(1).toString(), Qt::ISODate),
            q.value(2).toString(), LedgerText::centsOf(q.value(3).toDouble())};
}

QVariant stored(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate))
                          : QVariant(QMetaType(QMetaType::QString));
}

} // namespace

std::optional<QList<LedgerEntry>> Ledger::all()
{
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT ID, Date_Of_Transaction, Good_Or_Service, Amount "
                               "FROM Accounts ORDER BY Date_Of_Transaction, ID"))) {
        m_error = engineMessage(q.lastError());
        return std::nullopt;
    }
    QList<LedgerEntry> entries;
    while (q.next())
        entries.append(entryOf(q));
    return entries;
}

std::optional<LedgerEntry> Ledger::find(qint64 id)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT ID, Date_Of_Transaction, Good_Or_Service, Amount "
                             "FROM Accounts WHERE ID = ?"));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) {
        m_error = engineMessage(q.lastError());
        return std::nullopt;
    }
    return entryOf(q);
}

bool Ledger::add(LedgerEntry &entry)
{
    // One statement takes the number and the row, so nothing can come between.
    QSqlQuery q(m_db);
    q.prepare(
        QStringLiteral("INSERT INTO Accounts (ID, Date_Of_Transaction, Good_Or_Service, Amount) "
                       "SELECT coalesce(max(ID), 0) + 1, ?, ?, ? FROM Accounts"));
    q.addBindValue(stored(entry.date));
    q.addBindValue(entry.good);
    q.addBindValue(LedgerText::amountOf(entry.cents));
    if (!q.exec()) {
        m_error = engineMessage(q.lastError());
        return false;
    }
    entry.id = q.lastInsertId().toLongLong();
    return true;
}

bool Ledger::update(const LedgerEntry &entry)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("UPDATE Accounts SET Date_Of_Transaction = ?, Good_Or_Service = ?, "
                             "Amount = ? WHERE ID = ?"));
    q.addBindValue(stored(entry.date));
    q.addBindValue(entry.good);
    q.addBindValue(LedgerText::amountOf(entry.cents));
    q.addBindValue(entry.id);
    if (!q.exec()) {
        m_error = engineMessage(q.lastError());
        return false;
    }
    if (q.numRowsAffected() != 1) {
        m_error = QStringLiteral("The transaction is no longer in the ledger.");
        return false;
    }
    return true;
}

bool Ledger::remove(qint64 id)
{
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("DELETE FROM Accounts WHERE ID = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        m_error = engineMessage(q.lastError());
        return false;
    }
    return true;
}

bool Ledger::removeAll()
{
    // A single statement is a single transaction: all rows go, or none.
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("DELETE FROM Accounts"))) {
        m_error = engineMessage(q.lastError());
        return false;
    }
    return true;
}

std::optional<StudentTotals> Ledger::studentTotals(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(
            QStringLiteral("SELECT total(Cummulative_Paid), total(Amount_Payable) FROM Student")) ||
        !q.next())
        return std::nullopt;
    return StudentTotals{q.value(0).toDouble(), q.value(1).toDouble()};
}
