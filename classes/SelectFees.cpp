#include "classes/SelectFees.h"

#include "app/AppState.h"
#include "classes/Bill.h"
#include "classes/FeeSchedule.h"
#include "platform/FieldChecks.h"
#include "platform/MessageBoxes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Shows each item's amount for the level at the right of its name.
class AmountColumn : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant amount = index.data(Qt::UserRole);
        if (!amount.isValid())
            return;
        painter->save();
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawText(option.rect.adjusted(0, 0, -8, 0), Qt::AlignRight | Qt::AlignVCenter,
                          QLocale(QLocale::English, QLocale::UnitedStates).toString(amount.toInt()));
        painter->restore();
    }

    // A click anywhere on an entry, its box included, ticks it once; Space
    // is left to the list.
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint())
            || !(index.flags() & Qt::ItemIsUserCheckable))
            return false;
        if (type == QEvent::MouseButtonDblClick)
            return true; // its release ticks, as a second click
        const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
};

} // namespace

SelectFees::SelectFees(AppState &state, BillTarget &target, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_target(target)
    , m_list(new QListWidget(this))
    , m_who(new QLabel(this))
    , m_custom(new QLineEdit(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("SelectFees"));
    setWindowTitle(QStringLiteral("Select Fees"));

    m_list->setObjectName(QStringLiteral("lstFees"));
    m_list->setMinimumSize(300, 360);
    m_list->setItemDelegate(new AmountColumn(m_list));
    m_names = FeeSchedule(state.db()).itemNames();
    for (const QString &name : std::as_const(m_names)) {
        auto *entry = new QListWidgetItem(name, m_list);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
        entry->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_amounts = QList<qint32>(m_names.size(), 0);

    m_who->setObjectName(QStringLiteral("lblWho"));
    m_who->setMinimumWidth(200);
    m_who->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *customLabel = new QLabel(QStringLiteral("Custom fee"), this);
    customLabel->setObjectName(QStringLiteral("lblCustom"));
    customLabel->setToolTip(QStringLiteral("perculiar to this student"));
    customLabel->setBuddy(m_custom);
    m_custom->setObjectName(QStringLiteral("txtCustom"));
    m_custom->setToolTip(QStringLiteral("explain what this amount is for in Payment History"));
    m_custom->setAlignment(Qt::AlignRight);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setAutoDefault(false);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setDefault(true);

    auto *side = new QVBoxLayout;
    side->addWidget(m_who);
    side->addStretch();
    side->addWidget(customLabel);
    side->addWidget(m_custom);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    side->addLayout(buttons);
    auto *outer = new QHBoxLayout(this);
    outer->addWidget(m_list, 1);
    outer->addLayout(side);

    // A custom amount must read whole and not be below 0; empty means none.
    m_checks = new FieldChecks(this);
    m_checks->add(m_custom, [this] { return Bill::customAccepted(m_custom->text()); });
    m_checks->exempt(m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &SelectFees::cmdOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SelectFees::setWho(const QString &text)
{
    m_who->setText(text);
}

void SelectFees::MyActivate()
{
    const QString level = m_target.classLevelText();
    const std::optional<QList<double>> found = FeeSchedule(m_state.db()).amountsFor(level);
    if (!found) {
        // Never leave another level's amounts to be billed.
        m_amountsFound = false;
        m_ok->setEnabled(false);
        for (int i = 0; i < m_list->count(); ++i)
            m_list->item(i)->setData(Qt::UserRole, QVariant());
        m_state.services.messages.ok(QStringLiteral("No Fees found for ") + level);
        return;
    }
    m_amountsFound = true;
    m_ok->setEnabled(true);
    const QString bill = m_target.billText();
    const QList<bool> ticks = Bill::ticksFrom(bill, m_names);
    for (int i = 0; i < m_list->count(); ++i) {
        m_amounts[i] = i < found->size() ? Bill::wholeAmount(found->at(i)) : 0;
        m_list->item(i)->setData(Qt::UserRole, m_amounts.at(i));
        m_list->item(i)->setCheckState(ticks.value(i) ? Qt::Checked : Qt::Unchecked);
    }
    m_custom->setText(Bill::customFrom(bill));
}

void SelectFees::cmdOKClick()
{
    if (!m_amountsFound)
        return;
    // The click may come straight from the custom box.
    if (m_checks->failingField() == m_custom)
        return;
    QList<bool> ticks;
    for (int i = 0; i < m_list->count(); ++i)
        ticks << (m_list->item(i)->checkState() == Qt::Checked);
    const Bill::Composed bill = Bill::compose(m_names, m_amounts, ticks, m_custom->text());
    m_target.setBillText(bill.text);
    m_target.setPayableText(Bill::payableText(bill.total, m_target.debtText()));
    m_target.payableLostFocus();
    accept();
}
