#include "records/MenData.h"

#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTextEdit>

namespace {

// Lists and date pickers: no read-only state of their own that also stops
// the wheel and the drop-down, so the form's filter holds them.
bool isPicker(const QObject *control)
{
    return qobject_cast<const QComboBox *>(control) || qobject_cast<const QDateEdit *>(control);
}

} // namespace

void MenData::done(int result)
{
    m_rs.close();
    QDialog::done(result);
    m_state.LoginGranted = false;
}

void MenData::closeEvent(QCloseEvent *event)
{
    // Closing must not drop an edit unseen (the close box, Alt+F4).
    if (editing()) {
        const MessageBoxes::Button answer = m_state.services.messages.show(
            QStringLiteral("Store the changes to ") + numberBox()->text() + u'?',
            MessageBoxes::Icon::Question,
            MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No | MessageBoxes::Cancel);
        if (answer == MessageBoxes::Yes)
            cmdActionClick(10);
        else if (answer == MessageBoxes::No)
            cmdActionClick(11);
        if (editing()) {
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}

void MenData::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the form and drop an edit unseen.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MenData::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // Switching windows or opening a list is not entering or leaving a box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            focusMoved(watched, type == QEvent::FocusIn);
    }
    if (type == QEvent::KeyPress && keyPressed(watched, static_cast<QKeyEvent *>(event)->key()))
        return true;
    if (pickerHeld(watched, event))
        return true;
    if (watched == m_photo && type == QEvent::MouseButtonRelease) {
        photoClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MenData::focusMoved(QObject *watched, bool in)
{
    moneyFocusMoved(watched, in);
    // The arm list follows the level, entering the arms or leaving the level.
    if (watched == (in ? m_classArm : m_classLevel))
        refillArms();
}

bool MenData::keyPressed(QObject *watched, int key)
{
    auto *box = qobject_cast<QTextEdit *>(watched);
    if (box && m_remarksBoxes.contains(box) && (key == Qt::Key_F5 || key == Qt::Key_F6)) {
        if (!box->isReadOnly())
            box->textCursor().insertText(
                key == Qt::Key_F5
                    ? QLocale::system().toString(m_state.services.clock.today(), QLocale::ShortFormat)
                    : m_state.classes.CurrentTerm);
        return true;
    }
    if (watched == m_goTo && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        cmdActionClick(7);
        return true;
    }
    return false;
}

// A locked list or date keeps its value: no wheel, no keys, no drop-down.
// Unlocked, the wheel turns it only once the operator is in it.
bool MenData::pickerHeld(QObject *watched, QEvent *event)
{
    QWidget *control = qobject_cast<QWidget *>(watched);
    if (control && !isPicker(control) && isPicker(control->parentWidget()))
        control = control->parentWidget(); // the edit field inside a list
    if (!control || !isPicker(control))
        return false;
    switch (event->type()) {
    case QEvent::Wheel:
        return m_controlsLocked ||
               !(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return m_controlsLocked;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        return m_controlsLocked && key != Qt::Key_Tab && key != Qt::Key_Backtab;
    }
    default:
        return false;
    }
}
