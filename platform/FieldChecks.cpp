#include "platform/FieldChecks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

FieldChecks::FieldChecks(QWidget *form)
    : QObject(form)
    , m_form(form)
{
    qApp->installEventFilter(this);
}

void FieldChecks::add(QWidget *field, std::function<bool()> passes)
{
    m_checks.push_back({field, std::move(passes)});
}

void FieldChecks::exempt(QWidget *widget)
{
    m_exempt.append(widget);
}

bool FieldChecks::isExempt(const QWidget *w) const
{
    for (const QPointer<QWidget> &e : m_exempt)
        if (e && (e == w || e->isAncestorOf(w)))
            return true;
    return false;
}

QWidget *FieldChecks::failingField() const
{
    QWidget *focused = QApplication::focusWidget();
    if (!focused || focused->window() != m_form->window())
        return nullptr;
    for (const Check &c : m_checks) {
        if (!c.field || !(c.field == focused || c.field->isAncestorOf(focused)))
            continue;
        if (!c.field->isVisible() || !c.field->isEnabled())
            return nullptr;
        return c.passes() ? nullptr : c.field.data();
    }
    return nullptr;
}

bool FieldChecks::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress
        && type != QEvent::MouseButtonDblClick && type != QEvent::Shortcut && type != QEvent::Wheel)
        return false;
    QWidget *target = qobject_cast<QWidget *>(watched);
    if (!target && watched->isWindowType()) {
        // Real input reaches the window first; by the time a widget sees a
        // press the focus has already moved, so presses are judged here.
        // A wheel too may move the focus (a list, the tab bar) before its widget sees it.
        if (type == QEvent::KeyPress || type == QEvent::Shortcut)
            return false;
        QWidget *top = m_form->window();
        if (static_cast<QWindow *>(watched) != top->windowHandle())
            return false;
        const auto *pointer = static_cast<QSinglePointEvent *>(event);
        target = top->childAt(top->mapFromGlobal(pointer->globalPosition().toPoint()));
        if (!target)
            target = top;
    }
    if (!target || target->window() != m_form->window())
        return false;

    // Only what would leave the field asks its check: some checks are slow
    // (a password hash), and ordinary typing must not wait on them.
    if (type == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int k = key->key();
        if (k != Qt::Key_Tab && k != Qt::Key_Backtab && k != Qt::Key_Return && k != Qt::Key_Enter)
            return false;
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            // A multi-line box takes Enter as a new line.
            QWidget *focused = QApplication::focusWidget();
            if (qobject_cast<QTextEdit *>(focused) || qobject_cast<QPlainTextEdit *>(focused)
                || (focused && (qobject_cast<QTextEdit *>(focused->parentWidget())
                                || qobject_cast<QPlainTextEdit *>(focused->parentWidget()))))
                return false;
        }
    } else if (type != QEvent::Shortcut) {
        QWidget *focused = QApplication::focusWidget();
        if (focused && (target == focused || focused->isAncestorOf(target)))
            return false;
    }

    QWidget *field = failingField();
    if (!field)
        return false;

    switch (type) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return true;
        const auto buttons = m_form->findChildren<QPushButton *>();
        for (QPushButton *b : buttons)
            if (b->isDefault() && b->isVisible())
                return !isExempt(b);
        return true;
    }
    case QEvent::Shortcut:
        return !isExempt(target);
    default: // mouse presses and the wheel
        if (target == field || field->isAncestorOf(target))
            return false;
        return !isExempt(target);
    }
}
