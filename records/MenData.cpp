#include "records/MenData.h"

#include "app/AppState.h"
#include "records/PickLists.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

QDate MenData::noDate()
{
    // The earliest date a picker offers stands for "no date".
    return QDate(1752, 9, 14);
}

MenData::MenData(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_kind(state.RecordKind)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName(QStringLiteral("MenData"));
    setWindowTitle(m_kind + QStringLiteral(" Data Entry"));
    setModal(true);

    m_tabs = named(new QTabWidget(this), "SSTab1");
    QList<QWidget *> pages;
    for (const char *name : {"Basic_Data", "Student_Data", "Staff_Data", "Stock_Data"}) {
        pages.append(named(new QWidget(m_tabs), name));
        m_tabs->addTab(pages.last(), QLatin1String(name));
    }
    buildBasicTab(pages.at(BasicTab));
    buildStudentTab(pages.at(StudentTab));
    buildStaffTab(pages.at(StaffTab));
    buildStockTab(pages.at(StockTab));
    buildActions();
    bindAll();
    addFieldChecks();

    auto *actions = new QHBoxLayout;
    actions->addWidget(m_frame2, 1);
    actions->addWidget(m_frame3);
    actions->addWidget(m_frame4);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MenData::showUnshown);
    layout->addLayout(actions);

    // Only the tabs of the kind can be reached.
    const bool student = AppState::isStudentKind(m_kind);
    const bool staff = AppState::isStaffKind(m_kind);
    m_tabs->setTabVisible(BasicTab, student || staff);
    m_tabs->setTabVisible(StudentTab, student);
    m_tabs->setTabVisible(StaffTab, staff);
    m_tabs->setTabVisible(StockTab, AppState::isStockKind(m_kind));
    // Disabled too: Ctrl+Tab and the wheel pass over disabled tabs only.
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->setTabEnabled(i, m_tabs->isTabVisible(i));
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->isTabVisible(i)) {
            m_tabs->setCurrentIndex(i);
            break;
        }
    }

    openRows();
    for (QComboBox *box : {m_classLevel, findChild<QComboBox *>(QStringLiteral("cmbMaritalStatus")),
                           findChild<QComboBox *>(QStringLiteral("cmbServiceStatus")), m_sex,
                           findChild<QComboBox *>(QStringLiteral("cmbState"))})
        FillPickList(box, m_state.classes);
    if (m_rs.isOpen()) {
        m_rs.moveLast();
        ShowTheRecord();
    }
    showCount();
    setBrowsing(true);
    resize(sizeHint().expandedTo(QSize(900, 600)));
    QApplication::restoreOverrideCursor();
}

MenData::~MenData()
{
    m_state.LoginGranted = false;
}

// ---------------------------------------------------------------- action buttons

QPushButton *MenData::actionButton(int index, const char *caption, const char *tip)
{
    auto *button = named(new QPushButton(QString::fromUtf8(caption), this),
                         qPrintable(QStringLiteral("cmdAction(%1)").arg(index)), tip);
    // Enter in a box must never press a button behind the operator's back.
    button->setAutoDefault(false);
    button->setDefault(false);
    if (!tip)
        button->setAccessibleName(button->text().remove(u'&').trimmed());
    m_cmdAction.insert(index, button);
    connect(button, &QPushButton::clicked, this, [this, index] { cmdActionClick(index); });
    return button;
}

void MenData::buildActions()
{
    m_frame2 = named(new QGroupBox(QStringLiteral("Action"), this), "Frame2");
    m_frame3 = named(new QGroupBox(this), "Frame3");
    m_frame4 = named(new QGroupBox(this), "Frame4");
    m_frame5 = named(new QGroupBox(m_frame2), "Frame5");

    // Created in the order the Tab key visits them.
    auto *first = actionButton(0, "Fir&st", "move to the first record");
    auto *previous = actionButton(2, "&Previous", "move back once");
    auto *next = actionButton(3, "Nex&t", "move forward once");
    auto *last = actionButton(1, "&Last", "move to the last record");
    m_goTo = named(new QLineEdit(this), "txtGoTo", "Supply Number of record to find");
    m_goTo->setAccessibleName(m_goTo->toolTip());
    m_goTo->installEventFilter(this);
    auto *find = actionButton(7, "&Find Number", nullptr);
    auto *del = actionButton(6, " &Delete", "delete records");
    auto *alumni = actionButton(24, "Send to Alu&mni", "send to list of former staff/student");
    auto *add = actionButton(8, "&New", "create a new record");
    auto *edit = actionButton(9, "&Edit", "edit an existing record");
    auto *update = actionButton(10, "U&pdate", "signal changes to database");
    auto *abort = actionButton(11, "&Abort", "abort changes");

    auto *frame5 = new QVBoxLayout(m_frame5);
    frame5->addWidget(del);
    frame5->addWidget(alumni);

    auto *frame2 = new QGridLayout(m_frame2);
    frame2->addWidget(first, 0, 0);
    frame2->addWidget(previous, 0, 1);
    frame2->addWidget(next, 0, 2);
    frame2->addWidget(last, 0, 3);
    frame2->addWidget(m_goTo, 1, 0, 1, 3);
    frame2->addWidget(find, 1, 3);
    frame2->addWidget(m_frame5, 0, 4, 2, 1);
    for (int column = 0; column < 4; ++column)
        frame2->setColumnStretch(column, 1);

    auto *frame3 = new QVBoxLayout(m_frame3);
    frame3->addWidget(add);
    frame3->addWidget(edit);
    auto *frame4 = new QVBoxLayout(m_frame4);
    frame4->addWidget(update);
    frame4->addWidget(abort);
}

// ---------------------------------------------------------------- what the form shows

void MenData::showCount()
{
    const int count = m_rs.isOpen() ? m_rs.recordCount() : 0;
    m_frame2->setTitle(QStringLiteral("Initial total records = ") +
                       QString::number(count < 1 ? 0 : count));
}

void MenData::onNumberChanged(const QString &text)
{
    // The stock tab has its own number box; its caption stays as the opener set it.
    if (AppState::isStockKind(m_kind))
        return;
    setWindowTitle(m_kind + QStringLiteral(" Data Entry") + QStringLiteral(" : Number ") + text);
}

void MenData::arrangeForOpener(bool granted)
{
    if (granted) {
        if (AppState::isFormerKind(m_kind)) {
            m_cmdAction.value(8)->hide();
            m_cmdAction.value(24)->hide();
        } else if (m_kind == QLatin1String("Stock")) {
            m_cmdAction.value(24)->hide();
        }
    } else {
        lockForReading();
    }
    setWindowTitle(m_state.SchoolName + QStringLiteral(" : ") + m_kind);
}

bool MenData::editing() const
{
    return !m_frame4->isHidden();
}

void MenData::setBrowsing(bool browsing)
{
    // Every box holds its text before the operator can type into it.
    if (!browsing)
        showUnshown();
    // The buttons to come are shown before the clicked one hides, so the focus
    // goes to one of them and never wanders into a box that checks its content.
    if (browsing) {
        m_frame2->show();
        m_frame3->show();
    } else {
        m_frame4->show();
    }
    QWidget *focused = QApplication::focusWidget();
    const bool leaving = focused && (browsing ? m_frame4->isAncestorOf(focused)
                                              : m_frame2->isAncestorOf(focused) ||
                                                    m_frame3->isAncestorOf(focused));
    if (leaving)
        m_cmdAction.value(browsing ? 9 : 10)->setFocus(Qt::OtherFocusReason);
    if (browsing) {
        m_frame4->hide();
    } else {
        m_frame2->hide();
        m_frame3->hide();
    }
    // Typing while browsing would be lost on the next move: New and Edit open the boxes.
    setLocked(browsing);
    updatePrintBill();
}
