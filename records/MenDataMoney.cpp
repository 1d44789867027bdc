#include "records/MenData.h"

#include "app/AppState.h"
#include "classes/ReviseFees.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

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
