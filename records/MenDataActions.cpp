#include "records/MenData.h"

#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"

#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>

void MenData::openRows()
{
    if (!m_rs.open(m_state.db(), m_kind))
        m_state.services.messages.ok(m_rs.lastError());
    if (m_kind == QLatin1String("Student") || m_kind == QLatin1String("Staff"))
        m_formerTable = QStringLiteral("Former") + m_kind;
}

bool MenData::onRow() const
{
    return !m_rs.bof() && !m_rs.eof() && m_rs.hasCurrentRow();
}

// Edit, Delete and Send to Alumni act on the cursor's row. After a Find that
// found nothing the form still shows the row before while the cursor stands
// after the last row: the operator is told, rather than nothing happening.
bool MenData::onRowOrSay()
{
    if (onRow())
        return true;
    m_state.services.messages.ok(Recordset::noCurrentRowText());
    return false;
}

void MenData::cmdActionClick(int index)
{
    if (index != 11)
        m_actionMode.clear();
    switch (index) {
    case 0:
        moveFirst();
        break;
    case 1:
        moveLast();
        break;
    case 2:
        movePrevious();
        break;
    case 3:
        moveNext();
        break;
    case 6:
        deleteRecord();
        break;
    case 7:
        findNumber();
        break;
    case 8:
        newRecord();
        break;
    case 9:
        editRecord();
        break;
    case 10:
        updateRecord();
        break;
    case 11:
        abortChanges();
        break;
    case 24:
        sendToAlumni();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- moving and finding

void MenData::moveFirst()
{
    m_rs.moveFirst();
    if (!m_rs.bof() && !m_rs.eof())
        ShowTheRecord();
}

void MenData::moveLast()
{
    m_rs.moveLast();
    if (!m_rs.bof() && !m_rs.eof())
        ShowTheRecord();
}

void MenData::movePrevious()
{
    m_rs.movePrevious();
    if (m_rs.bof())
        m_rs.moveFirst();
    ShowTheRecord();
}

void MenData::moveNext()
{
    m_rs.moveNext();
    if (m_rs.eof())
        m_rs.moveLast();
    ShowTheRecord();
}

void MenData::findNumber()
{
    const QString number = m_goTo->text().trimmed();
    if (number.isEmpty())
        return;
    // The number is bound, so quotes, % and _ in it are plain characters.
    const bool found = m_rs.find(QStringLiteral("Number"), number);
    m_goTo->clear();
    if (found)
        ShowTheRecord();
}

// ---------------------------------------------------------------- editing

void MenData::newRecord()
{
    resetControls(m_state.services.clock.today());
    m_asRead.clear();
    setBrowsing(false);
    m_rs.addNew();
    m_actionMode = QStringLiteral("New");
    focusField(numberBox());
}

void MenData::editRecord()
{
    if (!onRowOrSay())
        return;
    setBrowsing(false);
    rememberControls();
    m_actionMode = QStringLiteral("Edit");
}

void MenData::updateRecord()
{
    // Remembered before the click cleared it, so that Abort still knows what
    // to undo when the store fails.
    const QString mode = m_rs.editMode() == Recordset::EditMode::Adding ? QStringLiteral("New")
                                                                        : QStringLiteral("Edit");
    if (!readyToStore() || !StoreTheRecord()) {
        // Still editing, with what the operator typed; the table is unchanged.
        m_actionMode = mode;
        return;
    }
    showCount();
    setBrowsing(true);
}

void MenData::abortChanges()
{
    m_rs.cancelUpdate();
    if (m_actionMode == QLatin1String("New"))
        ShowTheRecord();
    else if (m_actionMode == QLatin1String("Edit"))
        restoreControls();
    m_actionMode.clear();
    setBrowsing(true);
}

// ---------------------------------------------------------------- removing

bool MenData::confirmedTwice(const QString &cancelQuestion, const QString &sureQuestion)
{
    MessageBoxes &messages = m_state.services.messages;
    const MessageBoxes::Buttons yesNo = MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No;
    return messages.show(cancelQuestion, MessageBoxes::Icon::None, yesNo) != MessageBoxes::Yes &&
           messages.show(sureQuestion, MessageBoxes::Icon::None, yesNo) == MessageBoxes::Yes;
}

void MenData::showAfterRemoval()
{
    m_rs.moveNext();
    if (m_rs.eof())
        m_rs.moveFirst();
    if (m_rs.recordCount() == 0) {
        // Nothing left to show: no row's values may stay on the form.
        resetControls(noDate());
        showCount();
        return;
    }
    ShowTheRecord();
}

void MenData::deleteRecord()
{
    if (!onRowOrSay() || !confirmedTwice(QStringLiteral("Cancel Deletion?"),
                                    QStringLiteral("Are you double sure you want to Delete?")))
        return;
    if (!m_rs.deleteCurrent()) {
        m_state.services.messages.ok(m_rs.lastError());
        return;
    }
    showAfterRemoval();
}

void MenData::sendToAlumni()
{
    if (m_formerTable.isEmpty() || !onRowOrSay() ||
        !confirmedTwice(QStringLiteral("Cancel irrevocable transfer to Alumni records?"),
                        QStringLiteral("Are you double sure you want to Transfer?")))
        return;

    MessageBoxes &messages = m_state.services.messages;
    // The number as stored, not as the box may now read.
    const QString number = m_rs.value(QStringLiteral("Number")).toString();
    QSqlDatabase db = m_state.db();
    // The copy and the removal stand or fall together: a row is never lost.
    if (!db.transaction()) {
        messages.ok(Database::errorText(db.lastError()));
        return;
    }
    QSqlQuery copy(db);
    // Both table names are fixed by the kind; only the number is data.
    const bool copied = copy.prepare(QStringLiteral("INSERT INTO ") + m_formerTable +
                                     QStringLiteral(" SELECT * FROM ") + m_kind +
                                     QStringLiteral(" WHERE Number = ?")) &&
                        (copy.bindValue(0, number), copy.exec()) && copy.numRowsAffected() > 0;
    if (!copied) {
        const QString why = copy.lastError().isValid()
                                ? Database::errorText(copy.lastError())
                                : QStringLiteral("The row was not copied to ") + m_formerTable +
                                      QStringLiteral(".");
        copy.finish();
        db.rollback();
        messages.ok(why);
        return;
    }
    copy.finish();
    if (!m_rs.deleteCurrent()) {
        const QString why = m_rs.lastError();
        db.rollback();
        messages.ok(why);
        return;
    }
    if (!db.commit()) {
        const QString why = Database::errorText(db.lastError());
        db.rollback();
        // The cursor already let the row go; read the table afresh.
        m_rs.open(db, m_kind);
        m_rs.find(QStringLiteral("Number"), number);
        ShowTheRecord();
        messages.ok(why);
        return;
    }
    showAfterRemoval();
}
