#include "platform/DateBox.h"

#include "platform/TypedDate.h"

#include <QKeyEvent>
#include <QLineEdit>

DateBox::DateBox(QWidget *parent)
    : QDateEdit(parent)
{
    // A half-typed date is read only when the box is left or Enter pressed.
    setKeyboardTracking(false);
}

QValidator::State DateBox::validate(QString &input, int &pos) const
{
    if (!m_typing)
        return QDateEdit::validate(input, pos);
    if (readTypedDate(input).isValid())
        return QValidator::Acceptable;
    for (const QChar c : std::as_const(input))
        if (!c.isDigit() && c != u'/' && c != u'.' && c != u'-' && c != u' ')
            return QValidator::Invalid;
    return QValidator::Intermediate;
}

void DateBox::fixup(QString &input) const
{
    // A typed day that the month lacks is no date, not the month's last day.
    if (!m_typing)
        QDateEdit::fixup(input);
}

QDateTime DateBox::dateTimeFromText(const QString &text) const
{
    const QDate typed = readTypedDate(text);
    if (m_typing && typed.isValid())
        return typed.startOfDay();
    return QDateEdit::dateTimeFromText(text);
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
        !(event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        focusNextPrevChild(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint() &&
                           !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (isReadOnly() || (!printable && !(m_typing && key == Qt::Key_Backspace))) {
        QDateEdit::keyPressEvent(event);
        return;
    }
    if (!m_typing) {
        m_typing = true;
        // The typed character replaces the whole date shown.
        lineEdit()->selectAll();
    }
    // Straight into the text: the picker's own keys would walk its sections.
    if (key == Qt::Key_Backspace)
        lineEdit()->backspace();
    else
        lineEdit()->insert(text);
    event->accept();
}

void DateBox::focusInEvent(QFocusEvent *event)
{
    m_typing = false;
    QDateEdit::focusInEvent(event);
}

void DateBox::focusOutEvent(QFocusEvent *event)
{
    // Read while the typed text is still taken as typed.
    QDateEdit::focusOutEvent(event);
    if (m_typing) {
        m_typing = false;
        setDate(date()); // shows the date in the picker's own form again
    }
}

bool DateBox::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}
