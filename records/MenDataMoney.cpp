#include "records/MenData.h"

#include "app/AppState.h"
#include "classes/ReviseFees.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "records/BillPrintout.h"

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

void MenData::rememberDebt()
{
    // Also when another row replaces the debt under the caret (a shortcut
    // pressed in the box): the payable moves only by what the operator typed.
    m_money.rememberDebt(m_debt->text());
}

void MenData::txtDebt_LostFocus()
{
    m_payable->setText(m_money.payableAfterDebt(m_debt->text(), m_payable->text()));
    txtPayable_LostFocus();
}

void MenData::txtPayable_LostFocus()
{
    m_balance->setText(StudentMoney::balance(m_paid->text(), m_payable->text()));
}

void MenData::moneyFocusMoved(QObject *watched, bool in)
{
    if (in) {
        if (watched == m_debt)
            rememberDebt();
        return;
    }
    // Only a box that passed its check computes; a read-only form computes nothing.
    if (watched == m_debt && !m_debt->isReadOnly() && StudentMoney::isDebt(m_debt->text()))
        txtDebt_LostFocus();
    else if (watched == m_payable && !m_debt->isReadOnly())
        txtPayable_LostFocus();
    else if (watched == m_paid && !m_paid->isReadOnly() && StudentMoney::isAmount(m_paid->text()))
        txtPayable_LostFocus();
}

// ---------------------------------------------------------------- the bill

void MenData::setBill(const QString &text)
{
    m_money.setBill(text);
    if (!showLater(m_billText, text))
        m_billText->setPlainText(text);
}

QString MenData::classLevelText() const
{
    return m_classLevel->currentText();
}

QString MenData::billText() const
{
    return m_money.bill();
}

void MenData::setBillText(const QString &text)
{
    setBill(text);
}

QString MenData::debtText() const
{
    return m_debt->text();
}

void MenData::setPayableText(const QString &text)
{
    m_payable->setText(text);
}

void MenData::cmdBillClick()
{
    // The fee selection reads the names from their box.
    showUnshown();
    if (!m_selectFees) {
        // The fee schedule form comes with the selection, hidden; both go with this form.
        m_reviseFees = new ReviseFees(m_state, this);
        m_reviseFees->hide();
        m_selectFees = new SelectFees(m_state, *this, this);
    }
    m_selectFees->setWindowTitle(QStringLiteral("Select Fees for ") + m_classLevel->currentText());
    const QString crlf = QStringLiteral("\r\n");
    m_selectFees->setWho(m_number->text() + crlf +
                         findChild<QLineEdit *>(QStringLiteral("txtSurname"))->text() + crlf +
                         findChild<QPlainTextEdit *>(QStringLiteral("txtOthernames"))->toPlainText());
    m_selectFees->MyActivate();
    m_selectFees->exec();
}

// ---------------------------------------------------------------- the printed bill

void MenData::updatePrintBill()
{
    if (m_frame4) // built after the pages
        m_printBill->setEnabled(!editing() && onRow());
}

void MenData::cmdPrintBillClick()
{
    Desktop &desktop = m_state.services.desktop;
    if (!desktop.hasPrinter()) {
        m_state.services.messages.ok(QStringLiteral("No Printer installed."),
                                     MessageBoxes::Icon::Information);
        return;
    }
    QVariantMap row;
    for (const QString &column : BillPrintout::columns())
        row.insert(column, m_rs.value(column));
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    document.setHtml(BillPrintout::html(m_state.SchoolName, m_state.classes.CurrentTerm,
                                        m_state.services.clock.today(), row));
    desktop.print(document, this);
}
