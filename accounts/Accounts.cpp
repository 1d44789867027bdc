#include "accounts/Accounts.h"

#include "accounts/LedgerText.h"
#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/Desktop.h"
#include "platform/FieldChecks.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Item data of a list line: the row's ID, and its amount for the totals.
constexpr int IdRole = Qt::UserRole;
constexpr int CentsRole = Qt::UserRole + 1;

const QString AddMode = QStringLiteral("Add");
const QString EditMode = QStringLiteral("Edit");

} // namespace

Accounts::Accounts(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_ledger(state.db()), m_views(new QStackedWidget(this)),
      m_frameTransaction(new QGroupBox(QStringLiteral("Transaction"), m_views)),
      m_list(new QListWidget(m_frameTransaction)),
      m_frameInput(new QGroupBox(QStringLiteral("Input non-student related financial transactions"),
                                 m_views)),
      m_date(new DateBox(m_frameInput)), m_good(new QLineEdit(m_frameInput)),
      m_amount(new QLineEdit(m_frameInput)),
      m_toSchool(new QRadioButton(QStringLiteral("Payment made to School"), m_frameInput)),
      m_bySchool(new QRadioButton(QStringLiteral("Payment made by School"), m_frameInput)),
      m_ok(new QPushButton(QStringLiteral("Ok"), m_frameInput)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), m_frameInput)),
      m_frameSummary(new QGroupBox(this)), m_checks(new FieldChecks(this))
{
    setObjectName(QStringLiteral("Accounts"));
    setWindowTitle(m_state.SchoolName + QStringLiteral(" Accounts"));
    setModal(true);

    buildTransactionView();
    buildEntryView();
    buildSummary();
    m_views->addWidget(m_frameTransaction);
    m_views->addWidget(m_frameInput);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_views, 1);
    layout->addWidget(m_frameSummary);

    // Ok refuses these two, and the focus then stays in the box until it is mended.
    m_checks->add(m_amount, [this] { return amountAcceptable(); });
    m_checks->add(m_good, [this] { return goodAcceptable(); });
    m_checks->exempt(m_cancel);

    showEntryView(false);
    loadLedger();
}

void Accounts::buildTransactionView()
{
    m_frameTransaction->setObjectName(QStringLiteral("FrameTransaction"));
    m_list->setObjectName(QStringLiteral("lstAccounts"));
    m_list->setToolTip(LedgerText::signConvention());
    m_list->setAccessibleName(m_frameTransaction->title());
    m_list->setAccessibleDescription(LedgerText::signConvention());
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(440, 220);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { cmdAccountsClick(Edit); });

    auto *buttons = new QVBoxLayout;
    const QStringList captions{QStringLiteral("&Add"), QStringLiteral("&Edit"),
                               QStringLiteral("&Delete"), QStringLiteral("Delete Al&l"),
                               QStringLiteral("&Print")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QPushButton(captions.at(i), m_frameTransaction);
        button->setObjectName(QStringLiteral("cmdAccounts(%1)").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdAccountsClick(i); });
        buttons->addWidget(button);
        m_cmdAccounts.append(button);
    }
    buttons->addStretch();
    auto *layout = new QHBoxLayout(m_frameTransaction);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

void Accounts::buildEntryView()
{
    m_frameInput->setObjectName(QStringLiteral("FrameInput"));
    m_date->setObjectName(QStringLiteral("DTPicker1"));
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_date->setCalendarPopup(true);
    m_date->setDate(m_state.services.clock.today());
    m_good->setObjectName(QStringLiteral("txtGood_Or_Service"));
    m_good->setToolTip(QStringLiteral("supply a payment to or by the school (except school fees)"));
    m_amount->setObjectName(QStringLiteral("txtAmount"));
    m_amount->setMaximumWidth(160);
    m_good->installEventFilter(this);
    m_amount->installEventFilter(this);
    m_toSchool->setObjectName(QStringLiteral("optPayment(1)"));
    m_bySchool->setObjectName(QStringLiteral("optPayment(0)"));
    m_bySchool->setChecked(true);
    m_ok->setObjectName(QStringLiteral("cmdDone(0)"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("cmdDone(1)"));
    connect(m_ok, &QPushButton::clicked, this, &Accounts::okClick);
    connect(m_cancel, &QPushButton::clicked, this, &Accounts::cancelClick);

    auto *grid = new QGridLayout(m_frameInput);
    const QList<std::pair<QString, QWidget *>> rows{{QStringLiteral("Date"), m_date},
                                                    {QStringLiteral("Good_Or_Service"), m_good},
                                                    {QStringLiteral("Amount"), m_amount}};
    const int labelIndex[] = {2, 0, 1};
    for (int r = 0; r < rows.size(); ++r) {
        auto *label = new QLabel(rows.at(r).first, m_frameInput);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(labelIndex[r]));
        label->setBuddy(rows.at(r).second);
        grid->addWidget(label, r, 0);
        grid->addWidget(rows.at(r).second, r, 1, Qt::AlignLeft);
    }
    m_good->setMinimumWidth(300);
    grid->setColumnStretch(1, 1);
    grid->addWidget(m_toSchool, 3, 1);
    grid->addWidget(m_bySchool, 4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->setRowStretch(5, 1);
    grid->addLayout(buttons, 6, 0, 1, 2);

    setTabOrder(m_date, m_good);
    setTabOrder(m_good, m_amount);
    setTabOrder(m_amount, m_toSchool);
    setTabOrder(m_toSchool, m_bySchool);
    setTabOrder(m_bySchool, m_ok);
    setTabOrder(m_ok, m_cancel);
}

void Accounts::buildSummary()
{
    m_frameSummary->setObjectName(QStringLiteral("FrameSummary"));
    m_frameSummary->setTitle(QStringLiteral("Summary : ") + m_state.classes.CurrentTerm);
    auto *grid = new QGridLayout(m_frameSummary);
    const QStringList what{QStringLiteral("Cummulative paid by Students"),
                           QStringLiteral("Total amount payable by Students"),
                           QStringLiteral("Other Income"), QStringLiteral("Purchases")};
    for (int i = 0; i < what.size(); ++i) {
        auto *caption = new QLabel(what.at(i), m_frameSummary);
        caption->setObjectName(QStringLiteral("lblWhat(%1)").arg(i));
        auto *balance = new QLabel(QStringLiteral("0"), m_frameSummary);
        balance->setObjectName(QStringLiteral("lblBalance(%1)").arg(i));
        balance->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        balance->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(caption, i, 0);
        grid->addWidget(balance, i, 1);
        m_lblWhat.append(caption);
        m_lblBalance.append(balance);
    }
    grid->setColumnStretch(1, 1);
}

void Accounts::loadLedger()
{
    // The students' totals are read once; the form does not change them.
    if (const auto students = Ledger::studentTotals(m_state.db())) {
        m_lblBalance.at(0)->setText(Numbers::moneyText(students->paid));
        m_lblBalance.at(1)->setText(Numbers::moneyText(students->payable));
    }
    if (const auto entries = m_ledger.all())
        for (const LedgerEntry &entry : *entries)
            appendLine(entry);
    ComputeLedgerTotals();
}

QListWidgetItem *Accounts::selectedLine() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void Accounts::appendLine(const LedgerEntry &entry)
{
    auto *item = new QListWidgetItem(LedgerText::line(entry), m_list);
    item->setData(IdRole, entry.id);
    item->setData(CentsRole, entry.cents);
}

void Accounts::ComputeLedgerTotals()
{
    QListWidgetItem *remembered = selectedLine();
    m_totals = {};
    for (int i = 0; i < m_list->count(); ++i)
        m_totals.add(m_list->item(i)->data(CentsRole).toLongLong());
    showLedgerTotals();
    if (m_mode == EditMode && remembered)
        m_list->setCurrentItem(remembered);
    else if (m_list->count() > 0)
        m_list->setCurrentRow(m_list->count() - 1);
}

void Accounts::showLedgerTotals()
{
    m_lblBalance.at(2)->setText(Numbers::moneyText(LedgerText::amountOf(m_totals.otherIncome)));
    m_lblBalance.at(3)->setText(Numbers::moneyText(LedgerText::amountOf(m_totals.purchases)));
}

void Accounts::showEntryView(bool entry)
{
    m_views->setCurrentWidget(entry ? static_cast<QWidget *>(m_frameInput) : m_frameTransaction);
    if (entry)
        m_date->setFocus();
    else
        m_list->setFocus();
}

bool Accounts::amountAcceptable() const
{
    return LedgerText::acceptableAmount(m_amount->text());
}

bool Accounts::goodAcceptable() const
{
    return !m_good->text().trimmed().isEmpty();
}

void Accounts::cmdAccountsClick(int index)
{
    if ((index == Edit || index == Delete) && !selectedLine()) {
        m_list->setFocus();
        return;
    }
    m_mode.clear();
    switch (index) {
    case Add:
        m_mode = AddMode;
        showEntryView(true);
        break;
    case Edit:
        editSelected();
        break;
    case Delete:
        deleteSelected();
        break;
    case DeleteAll:
        deleteAll();
        break;
    case Print:
        printLedger();
        break;
    }
}

void Accounts::editSelected()
{
    const auto entry = m_ledger.find(selectedLine()->data(IdRole).toLongLong());
    if (!entry) {
        m_list->setFocus();
        return;
    }
    m_date->setDate(entry->date.isValid() ? entry->date : m_state.services.clock.today());
    m_good->setText(entry->good);
    m_amount->setText(LedgerText::plainAmount(qAbs(entry->cents)));
    (entry->cents < 0 ? m_bySchool : m_toSchool)->setChecked(true);
    m_editingId = entry->id;
    m_mode = EditMode;
    showEntryView(true);
}

void Accounts::deleteSelected()
{
    QListWidgetItem *item = selectedLine();
    const qint64 id = item->data(IdRole).toLongLong();
    if (!m_ledger.find(id))
        return;
    MessageBoxes &messages = m_state.services.messages;
    if (messages.yes(QStringLiteral("Cancel Deletion?"), MessageBoxes::Icon::None))
        return;
    if (!messages.yes(QStringLiteral("Are you double sure you want to Delete?"),
                      MessageBoxes::Icon::None))
        return;
    // The line goes only with its row, so the list never shows a deletion that failed.
    if (!m_ledger.remove(id)) {
        messages.ok(MessageBoxes::lines(
                        {QStringLiteral("The transaction was not deleted."), m_ledger.lastError()}),
                    MessageBoxes::Icon::Exclamation);
        return;
    }
    m_totals.remove(item->data(CentsRole).toLongLong());
    showLedgerTotals();
    delete item;
    m_list->setCurrentItem(nullptr);
}

void Accounts::deleteAll()
{
    MessageBoxes &messages = m_state.services.messages;
    if (messages.yes(QStringLiteral("Cancel Deletion?"), MessageBoxes::Icon::None))
        return;
    if (!messages.yes(QStringLiteral("Are you double sure you want to Delete All?"),
                      MessageBoxes::Icon::None))
        return;
    if (m_list->count() == 0)
        return;
    if (!m_ledger.removeAll()) {
        messages.ok(MessageBoxes::lines({QStringLiteral("The transactions were not deleted."),
                                         m_ledger.lastError()}),
                    MessageBoxes::Icon::Exclamation);
        return;
    }
    while (m_list->count() > 0) {
        QListWidgetItem *last = m_list->item(m_list->count() - 1);
        m_totals.remove(last->data(CentsRole).toLongLong());
        delete last;
    }
    showLedgerTotals();
}

void Accounts::printLedger()
{
    Desktop &desktop = m_state.services.desktop;
    if (!desktop.hasPrinter()) {
        m_state.services.messages.ok(QStringLiteral("No Printer installed."),
                                     MessageBoxes::Icon::Information);
        return;
    }
    QList<std::pair<QString, QString>> summary;
    for (int i = 0; i < m_lblWhat.size(); ++i)
        summary.append({m_lblWhat.at(i)->text(), m_lblBalance.at(i)->text()});
    QStringList lines;
    for (int i = 0; i < m_list->count(); ++i)
        lines.append(m_list->item(i)->text());
    const QStringList text =
        LedgerText::printout(windowTitle() + u' ' + m_frameSummary->title(), summary, lines);

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    QTextCursor cursor(&document);
    QTextCharFormat heading;
    heading.setFontPointSize(14);
    heading.setFontWeight(QFont::Bold);
    for (int i = 0; i < text.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(text.at(i), i == 0 ? heading : QTextCharFormat());
    }
    desktop.print(document, this);
}

void Accounts::okClick()
{
    if (!amountAcceptable()) {
        m_amount->setFocus();
        return;
    }
    if (!goodAcceptable()) {
        m_good->setFocus();
        return;
    }
    qint64 cents = LedgerText::enteredCents(m_amount->text()).value_or(0);
    if (m_bySchool->isChecked())
        cents = -cents;
    LedgerEntry entry{m_mode == AddMode ? 0 : m_editingId, m_date->date(), m_good->text(), cents};
    const bool stored = m_mode == AddMode ? m_ledger.add(entry) : m_ledger.update(entry);
    if (!stored) {
        // Nothing typed is lost: the entry stays open for another try.
        m_state.services.messages.ok(
            MessageBoxes::lines(
                {QStringLiteral("The transaction was not stored."), m_ledger.lastError()}),
            MessageBoxes::Icon::Exclamation);
        return;
    }
    if (m_mode == AddMode) {
        appendLine(entry);
    } else {
        for (int i = 0; i < m_list->count(); ++i) {
            QListWidgetItem *item = m_list->item(i);
            if (item->data(IdRole).toLongLong() == entry.id) {
                item->setText(LedgerText::line(entry));
                item->setData(CentsRole, entry.cents);
            }
        }
    }
    cancelClick();
}

void Accounts::cancelClick()
{
    m_date->setDate(m_state.services.clock.today());
    m_good->clear();
    m_amount->clear();
    ComputeLedgerTotals();
    showEntryView(false);
}

bool Accounts::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_good || watched == m_amount)) {
        // After the click that gave the focus has placed the caret.
        auto *box = static_cast<QLineEdit *>(watched);
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::FocusOut && watched == m_amount) {
        if (const auto cents = LedgerText::enteredCents(m_amount->text()))
            m_amount->setText(LedgerText::plainAmount(*cents));
    }
    return QDialog::eventFilter(watched, event);
}

void Accounts::keyPressEvent(QKeyEvent *event)
{
    // Escape is the Cancel button, which only the entry view has.
    if (event->key() == Qt::Key_Escape) {
        if (m_views->currentWidget() == m_frameInput)
            m_cancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
