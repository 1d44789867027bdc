#include "platform/Recordset.h"

#include "platform/Database.h"

#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <algorithm>
#include <sqlite3.h>

QString Recordset::quoted(const QString &identifier)
{
    QString text = identifier;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

QString Recordset::quotedTable() const
{
    return quoted(m_table);
}

void Recordset::fail(const QSqlError &error)
{
    m_sqlError = error;
    m_error = Database::errorText(error);
}

bool Recordset::open(const QSqlDatabase &db, const QString &table)
{
    close();
    m_error.clear();
    if (!db.isOpen()) {
        m_error = QStringLiteral("The database is not open.");
        return false;
    }
    // Only a table the database itself lists is ever named in a statement.
    QString found;
    for (const QString &name : db.tables(QSql::Tables)) {
        if (name.compare(table, Qt::CaseInsensitive) == 0) {
            found = name;
            break;
        }
    }
    if (found.isEmpty()) {
        m_error = QStringLiteral("There is no table named '%1'.").arg(table);
        return false;
    }

    m_db = db;
    m_table = found;
    const QSqlRecord record = db.record(found);
    QVector<QVariant> nulls;
    for (int i = 0; i < record.count(); ++i) {
        m_columns.append(record.fieldName(i));
        nulls.append(QVariant(record.field(i).metaType()));
    }
    m_nulls = nulls;

    if (!readKeys()) {
        close();
        return false;
    }

    QStringList columns;
    for (const QString &c : std::as_const(m_columns))
        columns.append(quoted(c));
    m_readRow.emplace(db);
    m_readRow->setForwardOnly(true);
    if (!m_readRow->prepare(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                            QStringLiteral(" FROM ") + quotedTable() +
                            QStringLiteral(" WHERE rowid = ?"))) {
        fail(m_readRow->lastError());
        close();
        return false;
    }

    m_open = true;
    moveFirst();
    return true;
}

bool Recordset::readKeys()
{
    // Without ORDER BY the engine reads the rowids from the smallest index that
    // holds them (a few hundred pages) instead of walking every page of the
    // table; sorted here they are the same keyset in the same order. The loop
    // runs on the engine's own handle: a million rows through QSqlQuery cost
    // more than the reading itself.
    const QString sql = QStringLiteral("SELECT rowid FROM ") + quotedTable();
    const QVariant handle = m_db.driver()->handle();
    auto *engine = handle.typeName() == QByteArrayView("sqlite3*")
                       ? *static_cast<sqlite3 *const *>(handle.data())
                       : nullptr;
    if (engine) {
        sqlite3_stmt *statement = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(engine, text.constData(), int(text.size()), &statement, nullptr)
            != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(engine));
            return false;
        }
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            m_keys.push_back(sqlite3_column_int64(statement, 0));
        if (rc != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(engine));
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE)
            return false;
    } else {
        QSqlQuery keys(m_db);
        keys.setForwardOnly(true);
        if (!keys.exec(sql)) {
            fail(keys.lastError());
            return false;
        }
        while (keys.next())
            m_keys.push_back(keys.value(0).toLongLong());
    }
    if (!std::is_sorted(m_keys.begin(), m_keys.end()))
        std::sort(m_keys.begin(), m_keys.end());
    return true;
}

void Recordset::close()
{
    m_readRow.reset();
    m_find.reset();
    m_db = QSqlDatabase();
    m_table.clear();
    m_columns.clear();
    m_nulls.clear();
    m_open = false;
    m_keys.clear();
    m_position = -1;
    m_inGap = false;
    m_values.clear();
    m_mode = EditMode::None;
    m_buffer.clear();
    m_changed.clear();
}

int Recordset::columnIndex(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool Recordset::bof() const
{
    if (m_mode == EditMode::Adding || m_inGap)
        return false;
    return m_keys.empty() || m_position < 0;
}

bool Recordset::eof() const
{
    if (m_mode == EditMode::Adding || m_inGap)
        return false;
    return m_keys.empty() || m_position >= recordCount();
}

bool Recordset::hasCurrentRow() const
{
    if (m_mode == EditMode::Adding)
        return true;
    return !m_inGap && m_position >= 0 && m_position < recordCount() &&
           m_values.size() == m_columns.size();
}

void Recordset::dropEdit()
{
    if (m_mode == EditMode::Adding) {
        m_position = m_positionBeforeAdd;
        m_inGap = m_gapBeforeAdd;
    }
    m_mode = EditMode::None;
    m_buffer.clear();
    m_changed.clear();
}

void Recordset::setPosition(int position)
{
    dropEdit();
    m_inGap = false;
    m_position = std::clamp(position, -1, recordCount());
    m_values.clear();
    if (m_position >= 0 && m_position < recordCount())
        readCurrent();
}

bool Recordset::readCurrent()
{
    m_values.clear();
    if (!m_readRow)
        return false;
    m_readRow->bindValue(0, m_keys[static_cast<size_t>(m_position)]);
    if (!m_readRow->exec()) {
        fail(m_readRow->lastError());
        return false;
    }
    if (!m_readRow->next()) {
        m_readRow->finish();
        m_error = QStringLiteral("The row is no longer in the table.");
        return false;
    }
    m_values.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i)
        m_values.append(m_readRow->value(i));
    // Leave no statement running between reads.
    m_readRow->finish();
    return true;
}

void Recordset::moveFirst()
{
    setPosition(m_keys.empty() ? -1 : 0);
}

void Recordset::moveLast()
{
    setPosition(recordCount() - 1);
}

void Recordset::moveNext()
{
    int from = m_position;
    bool gap = m_inGap;
    if (m_mode == EditMode::Adding) {
        from = m_positionBeforeAdd;
        gap = m_gapBeforeAdd;
    }
    // From a gap, the row that followed the deleted one now has its index.
    setPosition(gap ? from : from + 1);
}

void Recordset::movePrevious()
{
    int from = m_position;
    if (m_mode == EditMode::Adding)
        from = m_positionBeforeAdd;
    setPosition(from - 1);
}

bool Recordset::find(const QString &field, const QVariant &value)
{
    if (!m_open)
        return false;
    const int column = columnIndex(field);
    if (column < 0) {
        m_error = QStringLiteral("There is no field named '%1'.").arg(field);
        setPosition(recordCount());
        return false;
    }
    // The statement is kept for the next find on the same field.
    if (!m_find || m_findColumn != column) {
        m_find.emplace(m_db);
        m_find->setForwardOnly(true);
        m_findColumn = column;
        if (!m_find->prepare(QStringLiteral("SELECT rowid FROM ") + quotedTable() + QStringLiteral(" WHERE ") +
                             quoted(m_columns.at(column)) + QStringLiteral(" = ? ORDER BY rowid"))) {
            fail(m_find->lastError());
            m_find.reset();
            setPosition(recordCount());
            return false;
        }
    }
    QSqlQuery &q = *m_find;
    q.bindValue(0, value);
    if (!q.exec()) {
        fail(q.lastError());
        setPosition(recordCount());
        return false;
    }
    while (q.next()) {
        const qint64 key = q.value(0).toLongLong();
        const auto at = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        if (at != m_keys.end() && *at == key) {
            q.finish();
            setPosition(static_cast<int>(at - m_keys.begin()));
            return true;
        }
    }
    q.finish();
    setPosition(recordCount());
    return false;
}

QVariant Recordset::value(const QString &field) const
{
    const int column = columnIndex(field);
    if (column < 0)
        return {};
    if (m_mode != EditMode::None)
        return m_buffer.at(column);
    if (!hasCurrentRow())
        return {};
    return m_values.at(column);
}

bool Recordset::setValue(const QString &field, const QVariant &value)
{
    const int column = columnIndex(field);
    if (column < 0) {
        m_error = QStringLiteral("There is no field named '%1'.").arg(field);
        return false;
    }
    if (m_mode == EditMode::None) {
        if (!hasCurrentRow()) {
            m_error = noCurrentRowText();
            return false;
        }
        m_mode = EditMode::Editing;
        m_buffer = m_values;
        m_changed = QVector<bool>(m_columns.size(), false);
    }
    m_buffer[column] = value;
    m_changed[column] = true;
    return true;
}

bool Recordset::addNew()
{
    if (!m_open) {
        m_error = QStringLiteral("The table is not open.");
        return false;
    }
    dropEdit();
    m_positionBeforeAdd = m_position;
    m_gapBeforeAdd = m_inGap;
    m_mode = EditMode::Adding;
    m_buffer = m_nulls;
    m_changed = QVector<bool>(m_columns.size(), false);
    return true;
}

bool Recordset::update()
{
    m_sqlError = QSqlError();
    if (!m_open) {
        m_error = QStringLiteral("The table is not open.");
        return false;
    }
    if (m_mode == EditMode::None) {
        if (hasCurrentRow())
            return true; // nothing to write
        m_error = noCurrentRowText();
        return false;
    }

    QStringList names;
    QVector<QVariant> values;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_changed.at(i)) {
            names.append(quoted(m_columns.at(i)));
            values.append(m_buffer.at(i));
        }
    }

    QSqlQuery q(m_db);
    if (m_mode == EditMode::Adding) {
        QString sql = QStringLiteral("INSERT INTO ") + quotedTable();
        if (names.isEmpty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            sql += QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
                   QStringLiteral(") VALUES (") +
                   QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + u')';
        }
        if (!q.prepare(sql)) {
            fail(q.lastError());
            return false;
        }
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        if (!q.exec()) {
            fail(q.lastError());
            return false;
        }
        const qint64 key = q.lastInsertId().toLongLong();
        const auto at = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        const int index = static_cast<int>(at - m_keys.begin());
        if (at == m_keys.end() || *at != key)
            m_keys.insert(at, key);
        m_mode = EditMode::None;
        setPosition(index);
        m_error.clear();
        return true;
    }

    // Editing an existing row.
    if (names.isEmpty()) {
        dropEdit();
        return true;
    }
    QStringList assignments;
    for (const QString &name : std::as_const(names))
        assignments.append(name + QStringLiteral(" = ?"));
    if (!q.prepare(QStringLiteral("UPDATE ") + quotedTable() + QStringLiteral(" SET ") +
                   assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?"))) {
        fail(q.lastError());
        return false;
    }
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    q.bindValue(static_cast<int>(values.size()), m_keys[static_cast<size_t>(m_position)]);
    if (!q.exec()) {
        fail(q.lastError());
        return false;
    }
    if (q.numRowsAffected() < 1) {
        m_error = QStringLiteral("The row is no longer in the table.");
        return false;
    }
    dropEdit();
    readCurrent();
    m_error.clear();
    return true;
}

void Recordset::cancelUpdate()
{
    dropEdit();
}

bool Recordset::deleteCurrent()
{
    if (m_mode == EditMode::Adding || !hasCurrentRow()) {
        m_error = noCurrentRowText();
        return false;
    }
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("DELETE FROM ") + quotedTable() + QStringLiteral(" WHERE rowid = ?"));
    q.bindValue(0, m_keys[static_cast<size_t>(m_position)]);
    if (!q.exec()) {
        fail(q.lastError());
        return false;
    }
    dropEdit();
    m_keys.erase(m_keys.begin() + m_position);
    m_values.clear();
    m_inGap = true;
    m_error.clear();
    return true;
}
