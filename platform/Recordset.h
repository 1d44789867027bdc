#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>
#include <vector>

// A keyset cursor over one table: the rowids of every row are read when the
// table is opened, and a row's values are read only when it becomes current.
// A table of a hundred thousand rows opens in the time it takes to read their
// rowids, and stepping costs one indexed read.
//
// Position: before the first row (bof), on a row, or after the last (eof); an
// empty table is at both ends. Moving past an end stops on the marker; a move
// from a marker comes back in (moveNext from bof to the first row,
// movePrevious from eof to the last).
//
// Editing: setValue on the current row starts an edit, addNew starts a row of
// nulls; update writes the change in one statement, cancelUpdate drops it.
// Any move drops an edit that was not written, so nothing is saved silently.
class Recordset
{
public:
    enum class EditMode { None, Editing, Adding };

    Recordset() = default;
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // Opens `table` (a name the database itself lists, letter case aside) and
    // stands on its first row. On failure the recordset is closed and
    // lastError() says why.
    bool open(const QSqlDatabase &db, const QString &table);
    void close();
    bool isOpen() const { return m_open; }
    QString tableName() const { return m_table; }

    // Column names in table order.
    QStringList columnNames() const { return m_columns; }
    int recordCount() const { return static_cast<int>(m_keys.size()); }

    bool bof() const;
    bool eof() const;
    // True when there is a row (or a started row) whose fields can be read.
    bool hasCurrentRow() const;

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    // Searches from the first row, in row order, for the first whose `field`
    // equals `value` (compared as the column compares: text columns without
    // regard to letter case). Found: that row is current. Not found, or the
    // field is unknown: the recordset stands after its last row (whatever
    // row it stood on before), so a following movePrevious or moveLast lands
    // on the last row.
    bool find(const QString &field, const QVariant &value);

    // A field of the current row (or of the started row), null kept null. An
    // unknown field or no current row reads as an invalid QVariant.
    QVariant value(const QString &field) const;
    // Sets a field of the current row, starting an edit when none is under
    // way. False for an unknown field or when there is no current row.
    bool setValue(const QString &field, const QVariant &value);

    EditMode editMode() const { return m_mode; }

    // Starts a new row with every field null. The row becomes current; it
    // joins the table only with update().
    bool addNew();
    // Writes the started row (INSERT) or the changed fields (UPDATE) in one
    // statement. On success the written row is current and re-read as the
    // engine stored it; an inserted row takes its place in row order. On
    // failure nothing changes: the edit stays under way with its values and
    // lastError() holds the engine's message.
    bool update();
    // Drops the edit; after addNew the row that was current before is
    // current again.
    void cancelUpdate();

    // Deletes the current row. The cursor then stands in the gap the row left:
    // no fields, neither marker set; moveNext goes to the row that followed,
    // movePrevious to the one before. The row leaves the keyset at once: when
    // the delete was part of a transaction that is rolled back, open the
    // table again.
    bool deleteCurrent();

    QString lastError() const { return m_error; }
    // What an action on the current row is told when the cursor has none.
    static QString noCurrentRowText() { return QStringLiteral("There is no current row."); }
    // The engine's error behind lastError(), when the engine refused.
    QSqlError lastSqlError() const { return m_sqlError; }

private:
    int columnIndex(const QString &field) const;
    QString quotedTable() const;
    static QString quoted(const QString &identifier);
    void setPosition(int position);
    bool readCurrent();
    void dropEdit();
    void fail(const QSqlError &error);
    bool readKeys();

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    // A null of each column's type, for a started row.
    QVector<QVariant> m_nulls;
    bool m_open = false;

    std::vector<qint64> m_keys;
    // -1: before the first row; m_keys.size(): after the last.
    int m_position = -1;
    // Set after deleteCurrent until the next move.
    bool m_inGap = false;

    QVector<QVariant> m_values;
    std::optional<QSqlQuery> m_readRow;
    std::optional<QSqlQuery> m_find;
    int m_findColumn = -1;

    EditMode m_mode = EditMode::None;
    QVector<QVariant> m_buffer;
    QVector<bool> m_changed;
    int m_positionBeforeAdd = -1;
    bool m_gapBeforeAdd = false;

    QString m_error;
    QSqlError m_sqlError;
};
