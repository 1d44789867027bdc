#include "reports/QueryReport.h"

#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/DateBox.h"
#include "platform/FieldChecks.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"
#include "records/PickLists.h"
#include "reports/ReportForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QVBoxLayout>

using QueryRows::Group;

namespace {

QString indexed(const char *name, int i)
{
    return QString::fromLatin1(name) + u'(' + QString::number(i) + u')';
}

} // namespace

QueryReport::QueryReport(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_kind(state.RecordKind)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName(QStringLiteral("QueryReport"));
    setModal(true);
    m_checks = new FieldChecks(this);

    auto *frameQ = new QGroupBox(QStringLiteral("Query"), this);
    frameQ->setObjectName(QStringLiteral("FrameQ"));
    frameQ->setFlat(true);
    QGroupBox *frameSort = buildSortFrame();
    m_tabs = new QTabWidget(frameQ);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(buildPeopleTab(), QStringLiteral("People"));
    m_tabs->addTab(buildStockTab(), QStringLiteral("Stock"));
    auto *queryBox = new QVBoxLayout(frameQ);
    queryBox->addWidget(m_tabs);

    arrangeByKind();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frameSort);
    layout->addWidget(frameQ, 1);

    // The table as a whole: its columns feed the sort lists and the designer.
    QSqlDatabase db = m_state.db();
    QSqlQuery probe(db);
    const QString table =
        db.driver() ? db.driver()->escapeIdentifier(m_kind, QSqlDriver::TableName) : m_kind;
    if (probe.exec(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" LIMIT 0"))) {
        const QSqlRecord record = probe.record();
        for (int i = 0; i < record.count(); ++i)
            m_columns << record.fieldName(i);
    } else {
        QApplication::restoreOverrideCursor();
        m_state.services.messages.ok(probe.lastError().text());
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    FillFieldLists(m_columns);
    // The designer lives as long as this form, so its choices outlive its Close.
    m_designer = new ReportForm(m_state, this);
    m_designer->fillAvailable(m_designerFields);
    connect(this, &QueryReport::displayResult, m_designer, [this](const QueryResult &result) {
        m_designer->RepActivate(result);
        m_designer->exec();
    });

    for (const char *name :
         {"cmbSex", "cmbState", "cmbMaritalStatus", "cmbServiceStatus", "cmbClassLevel"})
        FillPickList(findChild<QComboBox *>(QLatin1String(name)), m_state.classes);

    setWindowTitle(m_state.SchoolName + QStringLiteral(" : ") + m_kind +
                   QStringLiteral(" - Query And Report."));
    m_recFound->clear();
    m_frame1->hide();
    resize(sizeHint());
    QApplication::restoreOverrideCursor();
}

QueryReport::~QueryReport() = default;

QFrame *QueryReport::frame(const char *name)
{
    // No border: the frames only group rows that come and go together.
    auto *box = new QFrame(this);
    box->setObjectName(QLatin1String(name));
    box->setFrameShape(QFrame::NoFrame);
    return box;
}

QGroupBox *QueryReport::buildSortFrame()
{
    auto *sortFrame = new QGroupBox(this);
    sortFrame->setObjectName(QStringLiteral("FrameSort"));
    auto *grid = new QGridLayout(sortFrame);
    const QStringList captions = {QStringLiteral("First Sort by"), QStringLiteral("then Sort by"),
                                  QStringLiteral("and finally Sort by")};
    for (int i = 0; i < 3; ++i) {
        m_sort[i] = new QComboBox(sortFrame);
        m_sort[i]->setObjectName(indexed("cmbSort", i));
        m_sort[i]->setMinimumContentsLength(18);
        auto *label = new QLabel(captions.at(i), sortFrame);
        label->setObjectName(indexed("lblSort", i));
        label->setBuddy(m_sort[i]);
        grid->addWidget(label, 0, i);
        grid->addWidget(m_sort[i], 1, i);
    }

    auto *buttons = new QHBoxLayout;
    const QStringList searches = {QStringLiteral("Fetch &All Records"),
                                  QStringLiteral("Filter with &Query below ")};
    for (int i = 0; i < 2; ++i) {
        auto *b = new QPushButton(searches.at(i), sortFrame);
        b->setObjectName(indexed("cmdGiveWholeReport", i));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdGiveWholeReportClick(i); });
        buttons->addWidget(b);
    }
    // Enter in a value box filters.
    findChild<QPushButton *>(QStringLiteral("cmdGiveWholeReport(1)"))->setDefault(true);
    m_recFound = new QLabel(sortFrame);
    m_recFound->setObjectName(QStringLiteral("lblRecFound"));
    m_recFound->setMinimumWidth(
        m_recFound->fontMetrics().horizontalAdvance(QStringLiteral("100000 record(s) found  ")));
    buttons->addSpacing(12);
    buttons->addWidget(m_recFound, 1);

    m_frame1 = frame("Frame1");
    m_display = new QPushButton(QStringLiteral("&Display Result"), m_frame1);
    m_display->setObjectName(QStringLiteral("cmdDisplayResult"));
    connect(m_display, &QPushButton::clicked, this, [this] { emit displayResult(m_result); });
    auto *f1 = new QHBoxLayout(m_frame1);
    f1->setContentsMargins(0, 0, 0, 0);
    f1->addWidget(m_display);
    // The buttons stay put while the frame comes and goes.
    QSizePolicy keep = m_frame1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_frame1->setSizePolicy(keep);
    buttons->addWidget(m_frame1);
    grid->addLayout(buttons, 2, 0, 1, 3);
    return sortFrame;
}

QWidget *QueryReport::valueControl(int i)
{
    const QueryRows::Row &row = QueryRows::row(i);
    const QString field = QLatin1String(row.field);
    QWidget *control = nullptr;
    if (!row.source) {
        auto *box = new QLineEdit(this);
        box->setObjectName(indexed("TextQ", i));
        if (row.kind == QueryRows::ValueKind::Number) {
            // Grouped text such as 1,500 would read as 1: it keeps the focus.
            m_checks->add(box, [box] {
                return box->text().trimmed().isEmpty() || Numbers::isWholeNumberText(box->text());
            });
        }
        control = box;
    } else if (row.kind == QueryRows::ValueKind::Date) {
        auto *picker = new DateBox(this);
        picker->setDate(m_state.services.clock.today());
        picker->setObjectName(QLatin1String(row.source));
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        control = picker;
    } else {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(row.source));
        // A state the list lacks can still be asked for, as on the record form.
        if (field == QLatin1String("State_Of_Origin")) {
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
        }
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
        box->installEventFilter(this);
        control = box;
    }
    control->setAccessibleName(field + QStringLiteral(" value"));
    control->setMinimumWidth(150);
    return control;
}

int QueryReport::rowHeight() const
{
    const QComboBox list;
    const QDateEdit date;
    const QLineEdit text;
    const QPushButton button(QStringLiteral("like"));
    return qMax(qMax(list.sizeHint().height(), date.sizeHint().height()),
                qMax(text.sizeHint().height(), button.sizeHint().height()));
}

void QueryReport::addRows(QGridLayout *grid, Group group, int split)
{
    int placed = 0;
    const int height = rowHeight();
    for (int i = 0; i < QueryRows::Count; ++i) {
        const QueryRows::Row &row = QueryRows::row(i);
        if (row.group != group)
            continue;
        const QString field = QLatin1String(row.field);
        m_chk[i] = new QCheckBox(field, this);
        m_chk[i]->setObjectName(indexed("chkQ", i));
        m_cmd[i] = new QPushButton(QLatin1String(row.initial), this);
        m_cmd[i]->setObjectName(indexed("cmdQ", i));
        m_cmd[i]->setAccessibleName(field + QStringLiteral(" operator"));
        m_cmd[i]->setAutoDefault(false);
        if (!row.other)
            m_cmd[i]->setToolTip(QStringLiteral("this field is only compared for equality"));
        connect(m_cmd[i], &QPushButton::clicked, this, [this, i] { cmdQClick(i); });
        m_value[i] = valueControl(i);
        // Read as a sentence: field, operator, value.
        const int r = placed < split ? placed : placed - split;
        // One height for every row, so rows side by side stay level.
        grid->setRowMinimumHeight(r, height);
        const int c = placed < split ? 0 : 4;
        grid->addWidget(m_chk[i], r, c);
        grid->addWidget(m_cmd[i], r, c + 1);
        grid->addWidget(m_value[i], r, c + 2);
        ++placed;
    }
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(2, 1);
    if (placed > split) {
        grid->setColumnMinimumWidth(3, 18);
        grid->setColumnStretch(6, 1);
    }
    grid->setRowStretch(qMin(placed, split), 1);
}

QWidget *QueryReport::buildPeopleTab()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("People"));
    auto *common = new QGridLayout;
    addRows(common, Group::People);
    m_frameStudent = frame("FrameStudent");
    addRows(new QGridLayout(m_frameStudent), Group::Student);
    m_frameStaff = frame("FrameStaff");
    addRows(new QGridLayout(m_frameStaff), Group::Staff);
    // Before the page is laid out: a nested layout keeps its first measure.
    const bool staff = AppState::isStaffKind(m_kind);
    m_frameStaff->setVisible(staff);
    m_frameStudent->setVisible(!staff);
    m_classLevel = findChild<QComboBox *>(QStringLiteral("cmbClassLevel"));
    m_classArm = findChild<QComboBox *>(QStringLiteral("cmbClassArm"));

    auto *kindRows = new QVBoxLayout;
    kindRows->setContentsMargins(0, 0, 0, 0);
    kindRows->addWidget(m_frameStudent);
    kindRows->addWidget(m_frameStaff);
    kindRows->addStretch(1);
    auto *row = new QHBoxLayout(page);
    row->setAlignment(Qt::AlignTop);
    row->addLayout(common, 1);
    row->addSpacing(18);
    row->addLayout(kindRows, 1);
    return page;
}

QWidget *QueryReport::buildStockTab()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("Stock"));
    QFrame *stock = frame("FrameStock");
    addRows(new QGridLayout(stock), Group::Stock, 6);
    auto *box = new QVBoxLayout(page);
    box->addWidget(stock);
    box->addStretch(1);
    return page;
}

void QueryReport::arrangeByKind()
{
    const bool stock = AppState::isStockKind(m_kind);
    m_tabs->setTabVisible(PeopleTab, !stock);
    m_tabs->setTabEnabled(PeopleTab, !stock);
    m_tabs->setTabVisible(StockTab, stock);
    m_tabs->setTabEnabled(StockTab, stock);
    m_tabs->setCurrentIndex(stock ? StockTab : PeopleTab);
    // The tab not offered takes no room either.
    m_tabs->widget(stock ? PeopleTab : StockTab)
        ->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void QueryReport::FillFieldLists(const QStringList &columns)
{
    const QStringList fields = QueryStatement::sortFields(columns);
    for (int i = 0; i < 3; ++i) {
        m_sort[i]->addItems(fields);
        if (i < fields.size())
            m_sort[i]->setCurrentIndex(i);
    }
    // The designer's list follows the password given before this form opened.
    m_designerFields = QueryStatement::designerFields(columns, m_state.LoginGranted);
}

void QueryReport::cmdQClick(int index)
{
    m_cmd[index]->setText(QueryRows::switched(index, m_cmd[index]->text()));
}

QString QueryReport::valueOf(int i) const
{
    if (auto *box = qobject_cast<QLineEdit *>(m_value[i]))
        return box->text();
    if (auto *picker = qobject_cast<QDateEdit *>(m_value[i]))
        return picker->date().toString(Qt::ISODate);
    return static_cast<QComboBox *>(m_value[i])->currentText();
}

QString QueryReport::BuildSortClause() const
{
    return QueryStatement::sortClause(m_sort[0]->currentText(), m_sort[1]->currentText(),
                                      m_sort[2]->currentText());
}

QueryResult QueryReport::BuildQuery(const QString &sortClause) const
{
    QList<Criterion> criteria;
    for (int i = 0; i < QueryRows::Count; ++i)
        if (m_chk[i]->isChecked() && QueryRows::offered(QueryRows::row(i).group, m_kind))
            criteria.append({i, m_cmd[i]->text(), valueOf(i)});
    return QueryStatement::filtered(m_kind, criteria, sortClause);
}

void QueryReport::CountResult(const QueryResult &result)
{
    m_result = result;
    m_result.availableFields = m_designerFields;
    QString error;
    m_count = m_result.count(m_state.db(), &error);
    if (m_count < 0) {
        // A count the database refused is no "0 found": say why.
        m_count = 0;
        m_state.services.messages.ok(error, MessageBoxes::Icon::Exclamation);
    }
}

void QueryReport::cmdGiveWholeReportClick(int index)
{
    m_result = QueryResult();
    m_count = 0;
    m_frame1->hide();
    m_recFound->clear();
    const QString sort = BuildSortClause();
    bool marked = false;
    for (int i = 0; i < QueryRows::Count; ++i)
        marked = marked ||
                 (m_chk[i]->isChecked() && QueryRows::offered(QueryRows::row(i).group, m_kind));
    if (index == 1 && marked) {
        CountResult(BuildQuery(sort));
    } else {
        if (index == 1 &&
            m_state.services.messages.show(
                MessageBoxes::lines({QStringLiteral("No field is marked for query criteria"),
                                     QStringLiteral("Give Whole Report?")}),
                MessageBoxes::Icon::Question,
                MessageBoxes::Buttons(MessageBoxes::Ok) | MessageBoxes::Cancel) != MessageBoxes::Ok)
            return;
        CountResult(QueryStatement::whole(m_kind, sort));
    }
    m_recFound->setText(QString::number(m_count) + QStringLiteral(" record(s) found"));
    if (m_count >= 1) {
        m_frame1->show();
        m_display->setFocus();
    }
}

void QueryReport::refillArms()
{
    FillClassArms(m_classLevel->currentText(), m_classArm, m_state.classes);
}

bool QueryReport::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) && m_classArm) {
        // Switching windows or opening a list is not entering or leaving a box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool moved = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (moved && type == QEvent::FocusIn && watched == m_classArm)
            refillArms();
        else if (moved && type == QEvent::FocusOut && watched == m_classLevel &&
                 QApplication::activeWindow() == this)
            refillArms();
    }
    return QDialog::eventFilter(watched, event);
}

void QueryReport::done(int result)
{
    m_result = QueryResult();
    // The password is asked again for the next query.
    m_state.LoginGranted = false;
    QDialog::done(result);
}
