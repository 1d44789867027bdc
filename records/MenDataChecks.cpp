#include "records/MenData.h"

#include "app/AppState.h"
#include "platform/FieldChecks.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"
#include "records/BoxRules.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>

namespace {

QString boxText(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    return static_cast<QPlainTextEdit *>(box)->toPlainText();
}

// A read-only box cannot be mended, so it never holds the focus.
bool editable(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return !line->isReadOnly();
    if (auto *lines = qobject_cast<QPlainTextEdit *>(box))
        return !lines->isReadOnly();
    return true;
}

} // namespace

// ---------------------------------------------------------------- field checks

void MenData::addFieldChecks()
{
    m_checks = new FieldChecks(this);
    for (const QString &name : BoxRules::checkedBoxes()) {
        QWidget *box = findChild<QWidget *>(name);
        m_checks->add(box, [=] { return !editable(box) || BoxRules::accepts(name, boxText(box)); });
    }
    // Abort must stay reachable from a box that is not yet acceptable.
    m_checks->exempt(m_cmdAction.value(11));
}

bool MenData::readyToStore()
{
    // The kind's required boxes first, as their checks would on leaving them.
    const bool stock = AppState::isStockKind(m_kind);
    const QStringList required = stock ? QStringList{"txtStockNumber", "txtMaterial"}
                                       : QStringList{"txtNumber", "txtSurname", "txtAddress"};
    for (const QString &name : required) {
        QWidget *box = findChild<QWidget *>(name);
        if (boxText(box).trimmed().isEmpty()) {
            focusField(box);
            return false;
        }
    }
    // A changed number box holds a number, or says which field must.
    for (const Binding &b : m_bindings) {
        if (!belongs(b.group) || b.holds != Holds::Number)
            continue;
        const QString text = static_cast<QLineEdit *>(b.control)->text();
        if (text.trimmed().isEmpty() || Numbers::readWhole(text) ||
            m_asRead.unchanged(b.control, text))
            continue;
        m_state.services.messages.ok(captionOf(b.column) + QStringLiteral(" must be a number."));
        focusField(b.control);
        return false;
    }
    return true;
}

void MenData::focusField(QWidget *field)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->widget(i)->isAncestorOf(field))
            m_tabs->setCurrentIndex(i);
    field->setFocus(Qt::OtherFocusReason);
}

void MenData::normalisePercentage()
{
    const QString text = m_percentage->text();
    const QString wanted = BoxRules::percentageText(text);
    if (wanted == text)
        return;
    const QSignalBlocker quiet(m_percentage);
    m_percentage->setText(wanted);
    m_percentage->setCursorPosition(static_cast<int>(wanted.size()));
}

// ---------------------------------------------------------------- read-only arrangement

void MenData::lockForReading()
{
    m_frame3->hide();
    m_frame5->hide();
    for (QTextEdit *remarks : {m_studentRemarks, m_staffRemarks}) {
        remarks->hide();
        if (QWidget *l = findChild<QLabel *>(QStringLiteral("lbl") + remarks->objectName().mid(3)))
            l->hide();
    }
    m_bill->setEnabled(false);
    m_photo->setToolTip(QString());
    // Editing is never reached, so the boxes stay as browsing locked them.
    setLocked(true);
}

void MenData::setLocked(bool locked)
{
    m_controlsLocked = locked;
    for (const Binding &b : m_bindings) {
        const bool fixed = b.control == m_payable || b.control == m_billText;
        if (auto *line = qobject_cast<QLineEdit *>(b.control))
            line->setReadOnly(locked || fixed);
        else if (auto *lines = qobject_cast<QPlainTextEdit *>(b.control))
            lines->setReadOnly(locked || fixed);
        else if (auto *rich = qobject_cast<QTextEdit *>(b.control))
            rich->setReadOnly(locked);
        else if (auto *picker = qobject_cast<QDateEdit *>(b.control))
            picker->setReadOnly(locked);
    }
}
