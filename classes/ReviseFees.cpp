#include "classes/ReviseFees.h"

#include "app/AppState.h"
#include "platform/MessageBoxes.h"

#include <QDataWidgetMapper>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>
#include <optional>

namespace {

// An amount typed with or without the separators; an empty box is 0.
std::optional<double> typedAmount(QString text)
{
    text = text.trimmed();
    text.remove(u',');
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// Amounts read as "#,##0.00" whatever the desktop's language.
class AmountDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QLocale amounts() { return QLocale(QLocale::English, QLocale::UnitedStates); }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *box = qobject_cast<QLineEdit *>(editor);
        if (!box) {
            QStyledItemDelegate::setEditorData(editor, index);
            return;
        }
        const QVariant v = index.data(Qt::EditRole);
        box->setText(v.isNull() ? QString() : amounts().toString(v.toDouble(), 'f', 2));
    }
};

} // namespace

ReviseFees::ReviseFees(AppState &state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_model(new QSqlTableModel(this, state.db()))
    , m_mapper(new QDataWidgetMapper(this))
{
    setObjectName(QStringLiteral("ReviseFees"));
    setWindowTitle(QStringLiteral("Revise Fees"));

    m_model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    m_model->setTable(QStringLiteral("Fees"));
    m_model->select();
    const QSqlRecord columns = m_model->record();

    auto *outer = new QVBoxLayout(this);
    m_level = new QLabel(this);
    m_level->setObjectName(QStringLiteral("lblClass_Arm"));
    QFont bold = m_level->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_level->setFont(bold);
    outer->addWidget(m_level);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (int i = 0; i < ItemCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtReviseFees(%1)").arg(i));
        box->setAlignment(Qt::AlignRight);
        box->setMinimumWidth(110);
        box->installEventFilter(this);
        label->setBuddy(box);
        const int column = i + 1;
        if (column < columns.count()) {
            label->setText(columns.fieldName(column));
        } else {
            // No such item in this schedule.
            box->setEnabled(false);
        }
        // Two columns of ten items.
        grid->addWidget(label, i % 10, (i / 10) * 2);
        grid->addWidget(box, i % 10, (i / 10) * 2 + 1);
        m_labels << label;
        m_boxes << box;
    }
    outer->addLayout(grid);

    auto *navigator = new QGroupBox(QStringLiteral("  Navigate"), this);
    navigator->setObjectName(QStringLiteral("AdodcFees"));
    auto *navRow = new QHBoxLayout(navigator);
    auto button = [this, navRow](const char *name, const QString &caption, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        navRow->addWidget(b);
        return b;
    };
    connect(button("cmdFirst", QStringLiteral("|<"), tr("first class level")), &QPushButton::clicked, this,
            [this] { moveTo(0); });
    connect(button("cmdPrevious", QStringLiteral("<"), tr("previous class level")), &QPushButton::clicked,
            this, [this] { moveTo(m_mapper->currentIndex() - 1); });
    connect(button("cmdNext", QStringLiteral(">"), tr("next class level")), &QPushButton::clicked, this,
            [this] { moveTo(m_mapper->currentIndex() + 1); });
    connect(button("cmdLast", QStringLiteral(">|"), tr("last class level")), &QPushButton::clicked, this,
            [this] { moveTo(m_model->rowCount() - 1); });

    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(navigator, 1);
    bottom->addWidget(m_close, 0, Qt::AlignBottom);
    outer->addLayout(bottom);

    m_mapper->setModel(m_model);
    m_mapper->setItemDelegate(new AmountDelegate(m_mapper));
    // Amounts are taken when the row is left or the form closes, checked first.
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    m_mapper->addMapping(m_level, 0, "text");
    for (int i = 0; i < ItemCount; ++i)
        if (i + 1 < columns.count())
            m_mapper->addMapping(m_boxes.at(i), i + 1);
    connect(m_mapper, &QDataWidgetMapper::currentIndexChanged, this, &ReviseFees::rowShown);
    m_mapper->toFirst();
}

ReviseFees::~ReviseFees() = default;

void ReviseFees::rowShown()
{
    setWindowTitle(QStringLiteral("Revise Fees for ") + m_level->text());
    m_shown.clear();
    for (QLineEdit *box : std::as_const(m_boxes))
        m_shown << box->text();
}

bool ReviseFees::writeRow()
{
    // An amount that does not read whole keeps the operator on this row.
    for (int i = 0; i < ItemCount; ++i) {
        QLineEdit *box = m_boxes.at(i);
        if (box->isEnabled() && !typedAmount(box->text())) {
            m_state.services.messages.ok(
                MessageBoxes::lines({m_labels.at(i)->text() + QStringLiteral(" of ") + m_level->text(),
                                     QStringLiteral("is not an amount: ") + box->text()}),
                MessageBoxes::Icon::Exclamation);
            box->setFocus();
            return false;
        }
    }
    // Only the boxes the operator changed: the others keep their stored
    // amounts to the last decimal, not the two shown.
    const int row = m_mapper->currentIndex();
    QStringList typed;
    for (int i = 0; i < ItemCount; ++i) {
        typed << m_boxes.at(i)->text();
        if (m_boxes.at(i)->isEnabled() && typed.at(i) != m_shown.value(i))
            m_model->setData(m_model->index(row, i + 1), *typedAmount(typed.at(i)));
    }
    if (!m_model->isDirty() || m_model->submitAll())
        return true;
    const QString problem = m_model->lastError().text();
    m_model->revertAll();
    // What was typed stays in the boxes for another try.
    for (int i = 0; i < ItemCount; ++i)
        m_boxes.at(i)->setText(typed.at(i));
    m_state.services.messages.ok(
        MessageBoxes::lines({QStringLiteral("The fees of ") + m_level->text() + QStringLiteral(" were not stored:"),
                             problem}),
        MessageBoxes::Icon::Exclamation);
    return false;
}

void ReviseFees::moveTo(int row)
{
    const int current = m_mapper->currentIndex();
    row = qBound(0, row, m_model->rowCount() - 1);
    if (!writeRow())
        return;
    // Storing reselects the table; show the row asked for (or stay).
    m_mapper->setCurrentIndex(row < 0 ? current : row);
    rowShown();
}

void ReviseFees::done(int result)
{
    if (!writeRow())
        return;
    QDialog::done(result);
}

bool ReviseFees::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}
