#include "records/MenData.h"

#include "app/AppState.h"
#include "classes/ReviseFees.h"
#include "classes/SelectFees.h"
#include "platform/Database.h"
#include "platform/DateBox.h"
#include "platform/FieldChecks.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "records/PickLists.h"
#include "records/StoreErrors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const QString PhotoFolder = QStringLiteral("Pictures/Frontview/");

QString engineText(const QSqlError &error)
{
    return Database::errorText(error);
}

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

QString boxText(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    return static_cast<QPlainTextEdit *>(box)->toPlainText();
}

// Lists and date pickers: no read-only state of their own that also stops
// the wheel and the drop-down, so the form's filter holds them.
bool isPicker(const QObject *control)
{
    return qobject_cast<const QComboBox *>(control) || qobject_cast<const QDateEdit *>(control);
}

} // namespace

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

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    const QStringList tabNames = {QStringLiteral("Basic_Data"), QStringLiteral("Student_Data"),
                                  QStringLiteral("Staff_Data"), QStringLiteral("Stock_Data")};
    QList<QWidget *> pages;
    for (const QString &name : tabNames) {
        auto *page = new QWidget(m_tabs);
        page->setObjectName(name);
        m_tabs->addTab(page, name);
        pages.append(page);
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
    layout->addLayout(actions);

    // Only the tabs of the kind can be reached.
    const bool student = AppState::isStudentKind(m_kind);
    const bool staff = AppState::isStaffKind(m_kind);
    const bool stock = AppState::isStockKind(m_kind);
    m_tabs->setTabVisible(BasicTab, student || staff);
    m_tabs->setTabVisible(StudentTab, student);
    m_tabs->setTabVisible(StaffTab, staff);
    m_tabs->setTabVisible(StockTab, stock);
    // Disabled too: Ctrl+Tab and the wheel pass over disabled tabs only.
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->setTabEnabled(i, m_tabs->isTabVisible(i));
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->isTabVisible(i)) {
            m_tabs->setCurrentIndex(i);
            break;
        }
    }

    if (!m_rs.open(m_state.db(), m_kind))
        m_state.services.messages.ok(m_rs.lastError());
    if (m_kind == QLatin1String("Student") || m_kind == QLatin1String("Staff"))
        m_formerTable = QStringLiteral("Former") + m_kind;

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

// ---------------------------------------------------------------- layout

QLineEdit *MenData::lineEdit(const QString &name, const QString &tip)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setToolTip(tip);
    return box;
}

QPlainTextEdit *MenData::linesEdit(const QString &name, const QString &tip, int lines)
{
    auto *box = new QPlainTextEdit(this);
    box->setObjectName(name);
    box->setToolTip(tip);
    // Tab moves on, as in every other box of the form.
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + 12);
    return box;
}

QTextEdit *MenData::richEdit(const QString &name, const QString &tip)
{
    auto *box = new QTextEdit(this);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setAcceptRichText(false);
    box->setTabChangesFocus(true);
    // F5 and F6 insert the date and the term.
    box->installEventFilter(this);
    m_remarksBoxes.append(box);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * 4 + 12);
    return box;
}

QComboBox *MenData::pickList(const QString &name, bool editable)
{
    auto *box = new QComboBox(this);
    box->setObjectName(name);
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    // The wheel turns a list only once the operator is in it.
    box->setFocusPolicy(Qt::StrongFocus);
    box->installEventFilter(this);
    if (editable)
        box->lineEdit()->installEventFilter(this);
    return box;
}

QDateEdit *MenData::datePicker(const QString &name)
{
    auto *picker = new DateBox(this);
    picker->setObjectName(name);
    picker->setFocusPolicy(Qt::StrongFocus);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    picker->setMinimumDate(noDate());
    picker->setSpecialValueText(QStringLiteral("no date"));
    picker->setDate(noDate());
    picker->installEventFilter(this);
    return picker;
}

QLabel *MenData::label(const QString &caption, QWidget *buddy)
{
    auto *l = new QLabel(caption, this);
    l->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
    l->setBuddy(buddy);
    l->setWordWrap(true);
    return l;
}

void MenData::addRow(QGridLayout *grid, int &row, const QString &caption, QWidget *control)
{
    grid->addWidget(label(caption, control), row, 0, Qt::AlignTop);
    grid->addWidget(control, row, 1);
    ++row;
}

void MenData::buildBasicTab(QWidget *page)
{
    m_number = lineEdit(QStringLiteral("txtNumber"), QStringLiteral("a unique ID"));
    auto *surname = lineEdit(QStringLiteral("txtSurname"));
    auto *otherNames = linesEdit(QStringLiteral("txtOthernames"));
    m_sex = pickList(QStringLiteral("cmbSex"));
    auto *state = pickList(QStringLiteral("cmbState"), true);
    auto *birthday = datePicker(QStringLiteral("dtpBirthday"));
    auto *enlisted = datePicker(QStringLiteral("dtpEnlisted"));
    auto *address = linesEdit(QStringLiteral("txtAddress"), {}, 3);
    auto *nextOfKin = lineEdit(QStringLiteral("txtNextOfKin"));
    auto *addressNok = linesEdit(QStringLiteral("txtAddressNOK"), {}, 3);
    auto *relationship = lineEdit(QStringLiteral("txtRelationshipNOK"));

    m_photo = new QLabel(this);
    m_photo->setObjectName(QStringLiteral("imgView(0)"));
    m_photo->setToolTip(QStringLiteral("click to change"));
    m_photo->setAccessibleName(QStringLiteral("Passport Photo"));
    m_photo->setFixedSize(150, 180);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setAlignment(Qt::AlignCenter);
    auto *photoLabel = new QLabel(QStringLiteral("Passport Photo"), this);
    photoLabel->setObjectName(QStringLiteral("lblPassportPhoto"));
    photoLabel->setBuddy(m_photo);
    photoLabel->setAlignment(Qt::AlignHCenter);

    auto *grid = new QGridLayout(page);
    int row = 0;
    auto add = [&](const QString &caption, QWidget *control) {
        addRow(grid, row, caption, control);
    };
    add(QStringLiteral("Number"), m_number);
    add(QStringLiteral("Surname"), surname);
    add(QStringLiteral("Other Names"), otherNames);
    add(QStringLiteral("Sex"), m_sex);
    add(QStringLiteral("State of Origin"), state);
    add(QStringLiteral("Birthday"), birthday);
    add(QStringLiteral("Date Enlisted"), enlisted);
    add(QStringLiteral("Address"), address);
    add(QStringLiteral("Next of Kin"), nextOfKin);
    add(QStringLiteral("Permanent or Office Address of Next Of Kin"), addressNok);
    add(QStringLiteral("Relationship"), relationship);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, 150);

    auto *photoBox = new QVBoxLayout;
    photoBox->addWidget(photoLabel);
    photoBox->addWidget(m_photo, 0, Qt::AlignHCenter);
    photoBox->addStretch(1);
    grid->addLayout(photoBox, 0, 2, row, 1);
    grid->setColumnMinimumWidth(2, 170);

    connect(m_number, &QLineEdit::textChanged, this, &MenData::onNumberChanged);
}

void MenData::buildStudentTab(QWidget *page)
{
    m_classLevel = pickList(QStringLiteral("cmbClassLevel"));
    m_classArm = pickList(QStringLiteral("cmbClassArm"));
    m_percentage = lineEdit(QStringLiteral("txtPercentage"), QStringLiteral("average score"));
    auto *history = richEdit(QStringLiteral("rtfAcademicHistory"),
                             QStringLiteral("summary of previous performances, press F5/F6 to "
                                            "insert Date/Term"));
    m_studentRemarks = richEdit(QStringLiteral("rtfStudentRemarks"),
                                QStringLiteral("press F5/F6 to insert Date/Term"));
    m_debt = lineEdit(QStringLiteral("txtDebt"));
    m_bill = new QPushButton(QStringLiteral("Bill this Term"), this);
    m_bill->setObjectName(QStringLiteral("cmdBill"));
    m_bill->setToolTip(QStringLiteral("click to edit bill"));
    m_bill->setAutoDefault(false);
    m_billText =
        linesEdit(QStringLiteral("txtBillThisTerm"), QStringLiteral("scroll to see all"), 5);
    m_billText->setReadOnly(true);
    m_billText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_billText->setAccessibleName(QStringLiteral("Bill this Term"));
    m_payable = lineEdit(QStringLiteral("txtPayable"),
                         QStringLiteral("automatically calculated as Debt + Bill"));
    m_payable->setReadOnly(true);
    auto *lastPaid = lineEdit(QStringLiteral("txtAmountLastPaid"));
    m_paid = lineEdit(QStringLiteral("txtCummulativePaid"),
                      QStringLiteral("calculate manually as previous value + new payment"));
    m_balance = lineEdit(QStringLiteral("txtFinancialBalance"));
    auto *payments = richEdit(QStringLiteral("rtfPaymentHistory"),
                              QStringLiteral("state amount paid, what for, mode "
                                             "-cheque/teller/cash, cheque number, etc. press "
                                             "F5/F6 to insert Date/Term"));
    for (QLineEdit *computed : {m_payable, m_balance}) {
        QPalette p = computed->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        computed->setPalette(p);
    }

    auto *left = new QGridLayout;
    int row = 0;
    auto addLeft = [&](const QString &caption, QWidget *control) {
        addRow(left, row, caption, control);
    };
    addLeft(QStringLiteral("Class Level"), m_classLevel);
    addLeft(QStringLiteral("Class Arm"), m_classArm);
    addLeft(QStringLiteral("Percentage last term"), m_percentage);
    addLeft(QStringLiteral("Academic History"), history);
    addLeft(QStringLiteral("Remarks"), m_studentRemarks);
    left->setRowStretch(3, 1);
    left->setRowStretch(4, 1);
    left->setColumnStretch(1, 1);

    auto *right = new QGridLayout;
    row = 0;
    auto addRight = [&](const QString &caption, QWidget *control) {
        addRow(right, row, caption, control);
    };
    addRight(QStringLiteral("Debt from last Term"), m_debt);
    right->addWidget(m_bill, row, 0, Qt::AlignTop);
    right->addWidget(m_billText, row, 1);
    ++row;
    addRight(QStringLiteral("Amount Payable this Term"), m_payable);
    addRight(QStringLiteral("Amount Last Paid"), lastPaid);
    addRight(QStringLiteral("Cummulative Amount Paid This Term"), m_paid);
    addRight(QStringLiteral("Financial Balance"), m_balance);
    addRight(QStringLiteral("Payment History"), payments);
    right->setRowStretch(row - 1, 1);
    right->setColumnStretch(1, 1);
    right->setColumnMinimumWidth(0, 150);

    auto *columns = new QHBoxLayout(page);
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    // Money boxes align their figures to the right.
    for (QLineEdit *money : {m_debt, m_payable, lastPaid, m_paid, m_balance})
        money->setAlignment(Qt::AlignRight);
    for (QLineEdit *watched : {m_debt, m_payable, m_paid})
        watched->installEventFilter(this);
    connect(m_bill, &QPushButton::clicked, this, &MenData::cmdBillClick);
    connect(m_percentage, &QLineEdit::textChanged, this, &MenData::normalisePercentage);
}

void MenData::buildStaffTab(QWidget *page)
{
    auto *marital = pickList(QStringLiteral("cmbMaritalStatus"));
    auto *service = pickList(QStringLiteral("cmbServiceStatus"));
    auto *qualification =
        lineEdit(QStringLiteral("txtQualification"), QStringLiteral("cetificate or degree"));
    auto *speciality = lineEdit(QStringLiteral("txtSpeciality"),
                                QStringLiteral("area of specialisation by training"));
    auto *salary = lineEdit(QStringLiteral("txtMonthlySalary"));
    auto *deductions = richEdit(QStringLiteral("rtfDeductions"),
                                QStringLiteral("state deducted amounts and what for e.g. tax, "
                                               "loans, etc. press F5/F6 to insert Date/Term"));
    m_staffRemarks = richEdit(QStringLiteral("rtfStaffRemarks"),
                              QStringLiteral("Head's general remarks, press F5/F6 to insert "
                                             "Date/Term"));

    auto *left = new QGridLayout;
    int row = 0;
    auto addLeft = [&](const QString &caption, QWidget *control) {
        addRow(left, row, caption, control);
    };
    addLeft(QStringLiteral("Marital status"), marital);
    addLeft(QStringLiteral("Service status"), service);
    addLeft(QStringLiteral("Qualification"), qualification);
    addLeft(QStringLiteral("Speciality"), speciality);
    addLeft(QStringLiteral("Monthly Salary"), salary);
    left->setRowStretch(row, 1);
    left->setColumnStretch(1, 1);

    auto *right = new QGridLayout;
    row = 0;
    right->addWidget(label(QStringLiteral("Deductions"), deductions), row++, 0);
    right->addWidget(deductions, row++, 0);
    right->addWidget(label(QStringLiteral("Remarks"), m_staffRemarks), row++, 0);
    right->addWidget(m_staffRemarks, row++, 0);

    auto *columns = new QHBoxLayout(page);
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);
}

void MenData::buildStockTab(QWidget *page)
{
    auto *number = lineEdit(QStringLiteral("txtStockNumber"));
    auto *material = linesEdit(QStringLiteral("txtMaterial"));
    auto *description =
        linesEdit(QStringLiteral("txtDescription"),
                  QStringLiteral("material type, usage and unit of volume measurement and other "
                                 "remarks"),
                  3);
    auto *supplier = linesEdit(QStringLiteral("txtSupplierName"));
    auto *supplierAddress = linesEdit(QStringLiteral("txtSupplierAddress"), {}, 3);
    auto *alternate = linesEdit(QStringLiteral("txtAlternateSupplierName"));
    auto *alternateAddress = linesEdit(QStringLiteral("txtAlternateSupplierAddress"), {}, 3);
    auto *lastDate = datePicker(QStringLiteral("dtpLastPurchaseDate"));
    auto *lastPrice = lineEdit(QStringLiteral("txtLastPurchasePrice"));
    auto *lastVolume = lineEdit(QStringLiteral("txtLastPurchaseVolume"));
    auto *minimum = lineEdit(QStringLiteral("txtMinimumVolToStock"));
    auto *estimated = datePicker(QStringLiteral("dtpEstimatedPurchaseDate"));
    auto *atHand = lineEdit(QStringLiteral("txtVolAtHand"));
    auto *expiry = datePicker(QStringLiteral("dtpExpiry"));

    auto column = [this](const QList<std::pair<QString, QWidget *>> &rows) {
        auto *grid = new QGridLayout;
        int row = 0;
        for (const auto &[caption, control] : rows)
            addRow(grid, row, caption, control);
        grid->setRowStretch(row, 1);
        grid->setColumnStretch(1, 1);
        grid->setColumnMinimumWidth(0, 150);
        return grid;
    };
    auto *columns = new QHBoxLayout(page);
    columns->addLayout(column({{QStringLiteral("Number"), number},
                               {QStringLiteral("Material"), material},
                               {QStringLiteral("Description"), description},
                               {QStringLiteral("Supplier name"), supplier},
                               {QStringLiteral("Supplier address"), supplierAddress},
                               {QStringLiteral("Alternate supplier"), alternate},
                               {QStringLiteral("Alternate supplier address"), alternateAddress}}),
                       3);
    columns->addSpacing(12);
    columns->addLayout(column({{QStringLiteral("Last purchase date"), lastDate},
                               {QStringLiteral("Last purchase price"), lastPrice},
                               {QStringLiteral("Last purchase volume"), lastVolume},
                               {QStringLiteral("Minimum volume to stock"), minimum},
                               {QStringLiteral("Estimated purchase date"), estimated},
                               {QStringLiteral("Volume at hand"), atHand},
                               {QStringLiteral("Estimated Expiry Date"), expiry}}),
                       2);
}

QPushButton *MenData::actionButton(int index, const QString &caption, const QString &tip)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("cmdAction(%1)").arg(index));
    button->setToolTip(tip);
    // Enter in a box must never press a button behind the operator's back.
    button->setAutoDefault(false);
    button->setDefault(false);
    if (tip.isEmpty())
        button->setAccessibleName(QString(caption).remove(u'&').trimmed());
    m_cmdAction.insert(index, button);
    connect(button, &QPushButton::clicked, this, [this, index] { cmdActionClick(index); });
    return button;
}

void MenData::buildActions()
{
    m_frame2 = new QGroupBox(QStringLiteral("Action"), this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame3 = new QGroupBox(this);
    m_frame3->setObjectName(QStringLiteral("Frame3"));
    m_frame4 = new QGroupBox(this);
    m_frame4->setObjectName(QStringLiteral("Frame4"));
    m_frame5 = new QGroupBox(m_frame2);
    m_frame5->setObjectName(QStringLiteral("Frame5"));

    // Created in the order the Tab key visits them.
    auto *first =
        actionButton(0, QStringLiteral("Fir&st"), QStringLiteral("move to the first record"));
    auto *previous = actionButton(2, QStringLiteral("&Previous"), QStringLiteral("move back once"));
    auto *next = actionButton(3, QStringLiteral("Nex&t"), QStringLiteral("move forward once"));
    auto *last =
        actionButton(1, QStringLiteral("&Last"), QStringLiteral("move to the last record"));
    m_goTo = new QLineEdit(this);
    m_goTo->setObjectName(QStringLiteral("txtGoTo"));
    m_goTo->setToolTip(QStringLiteral("Supply Number of record to find"));
    m_goTo->setAccessibleName(QStringLiteral("Supply Number of record to find"));
    m_goTo->installEventFilter(this);
    auto *find = actionButton(7, QStringLiteral("&Find Number"), {});
    auto *del = actionButton(6, QStringLiteral(" &Delete"), QStringLiteral("delete records"));
    auto *alumni = actionButton(24, QStringLiteral("Send to Alu&mni"),
                                QStringLiteral("send to list of former staff/student"));
    auto *add = actionButton(8, QStringLiteral("&New"), QStringLiteral("create a new record"));
    auto *edit =
        actionButton(9, QStringLiteral("&Edit"), QStringLiteral("edit an existing record"));
    auto *update =
        actionButton(10, QStringLiteral("U&pdate"), QStringLiteral("signal changes to database"));
    auto *abort = actionButton(11, QStringLiteral("&Abort"), QStringLiteral("abort changes"));

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
    frame2->setColumnStretch(0, 1);
    frame2->setColumnStretch(1, 1);
    frame2->setColumnStretch(2, 1);
    frame2->setColumnStretch(3, 1);

    auto *frame3 = new QVBoxLayout(m_frame3);
    frame3->addWidget(add);
    frame3->addWidget(edit);
    auto *frame4 = new QVBoxLayout(m_frame4);
    frame4->addWidget(update);
    frame4->addWidget(abort);
}

// One table drives showing, storing, New, Edit and Abort, in the order the
// fields are shown and stored.
void MenData::bindAll()
{
    auto w = [this](const char *name) { return findChild<QWidget *>(QLatin1String(name)); };
    auto bind = [this](QWidget *control, const char *column, Holds holds, Group group) {
        Q_ASSERT(control);
        m_bindings.push_back({control, QLatin1String(column), holds, group});
    };

    bind(w("dtpEstimatedPurchaseDate"), "Estimated_Purchase_Date", Holds::Date, Group::Stock);
    bind(w("dtpExpiry"), "Expiry_Date", Holds::Date, Group::Stock);
    bind(w("dtpLastPurchaseDate"), "Last_Purchase_Date", Holds::Date, Group::Stock);
    bind(w("txtDescription"), "Description", Holds::Lines, Group::Stock);
    bind(w("txtLastPurchasePrice"), "Last_Purchase_Price", Holds::Number, Group::Stock);
    bind(w("txtLastPurchaseVolume"), "Last_Purchase_Volume", Holds::Number, Group::Stock);
    bind(w("txtMaterial"), "Material", Holds::Lines, Group::Stock);
    bind(w("txtMinimumVolToStock"), "Minimum_Volume_To_Stock", Holds::Number, Group::Stock);
    bind(w("txtStockNumber"), "Number", Holds::Text, Group::Stock);
    bind(w("txtSupplierAddress"), "Supplier_Address", Holds::Lines, Group::Stock);
    bind(w("txtSupplierName"), "Supplier_Name", Holds::Lines, Group::Stock);
    bind(w("txtAlternateSupplierAddress"), "Alternate_Supplier_Address", Holds::Lines,
         Group::Stock);
    bind(w("txtAlternateSupplierName"), "Alternate_Supplier_Name", Holds::Lines, Group::Stock);
    bind(w("txtVolAtHand"), "Volume_At_Hand", Holds::Number, Group::Stock);

    bind(w("cmbMaritalStatus"), "Marital_Status", Holds::Pick, Group::Staff);
    bind(w("cmbServiceStatus"), "Service_Status", Holds::Pick, Group::Staff);
    bind(w("rtfDeductions"), "Deductions", Holds::Rich, Group::Staff);
    bind(w("txtMonthlySalary"), "Monthly_Salary", Holds::Number, Group::Staff);
    bind(w("txtQualification"), "Qualification", Holds::Text, Group::Staff);
    bind(w("txtSpeciality"), "Speciality", Holds::Text, Group::Staff);
    bind(w("rtfStaffRemarks"), "Remarks", Holds::Rich, Group::Staff);

    bind(w("cmbClassLevel"), "Class_Level", Holds::Pick, Group::Student);
    bind(w("cmbClassArm"), "Class_Arm", Holds::ClassArm, Group::Student);
    bind(w("rtfAcademicHistory"), "Academic_History", Holds::Rich, Group::Student);
    bind(w("txtAmountLastPaid"), "Amount_Last_Paid", Holds::Number, Group::Student);
    bind(w("txtBillThisTerm"), "Bill_This_Term", Holds::Bill, Group::Student);
    bind(w("txtCummulativePaid"), "Cummulative_Paid", Holds::Number, Group::Student);
    bind(w("txtDebt"), "Debt_From_Last_Term", Holds::Number, Group::Student);
    bind(w("txtFinancialBalance"), "Financial_Balance", Holds::Number, Group::Student);
    bind(w("rtfPaymentHistory"), "Payment_History", Holds::Rich, Group::Student);
    bind(w("txtPayable"), "Amount_Payable", Holds::Number, Group::Student);
    bind(w("txtPercentage"), "Percentage_Last_Term", Holds::Number, Group::Student);
    bind(w("rtfStudentRemarks"), "Remarks", Holds::Rich, Group::Student);

    bind(w("cmbSex"), "Sex", Holds::Sex, Group::Person);
    bind(w("cmbState"), "State_Of_Origin", Holds::FreePick, Group::Person);
    bind(w("dtpBirthday"), "Birthday", Holds::Date, Group::Person);
    bind(w("dtpEnlisted"), "Date_Enlisted", Holds::Date, Group::Person);
    bind(m_photo, "Picture", Holds::Photo, Group::Person);
    bind(w("txtAddress"), "Address", Holds::Lines, Group::Person);
    bind(w("txtAddressNOK"), "AddressNOK", Holds::Lines, Group::Person);
    bind(w("txtNextOfKin"), "Next_Of_Kin", Holds::Text, Group::Person);
    bind(w("txtNumber"), "Number", Holds::Text, Group::Person);
    bind(w("txtOthernames"), "Other_Names", Holds::Lines, Group::Person);
    bind(w("txtRelationshipNOK"), "RelationshipNOK", Holds::Text, Group::Person);
    bind(w("txtSurname"), "Surname", Holds::Text, Group::Person);
}

bool MenData::belongs(Group group) const
{
    switch (group) {
    case Group::Stock:
        return AppState::isStockKind(m_kind);
    case Group::Staff:
        return AppState::isStaffKind(m_kind);
    case Group::Student:
        return AppState::isStudentKind(m_kind);
    case Group::Person:
        return AppState::isStaffKind(m_kind) || AppState::isStudentKind(m_kind);
    }
    return false;
}

// ---------------------------------------------------------------- showing and storing

void MenData::selectOrAdd(QComboBox *box, const QString &text)
{
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

void MenData::refillArms()
{
    FillClassArms(m_classLevel->currentText(), m_classArm, m_state.classes);
}

void MenData::showValue(const Binding &b, const QVariant &value)
{
    // A field without a value shows as empty; the fields after it still show.
    const bool none = value.isNull() || !value.isValid();
    const QString text = none ? QString() : value.toString();
    switch (b.holds) {
    case Holds::Text:
        static_cast<QLineEdit *>(b.control)->setText(text);
        break;
    case Holds::Number:
        static_cast<QLineEdit *>(b.control)->setText(none ? QString()
                                                          : Numbers::numberText(value.toDouble()));
        break;
    case Holds::Lines:
        static_cast<QPlainTextEdit *>(b.control)->setPlainText(text);
        break;
    case Holds::Rich:
        static_cast<QTextEdit *>(b.control)->setPlainText(text);
        break;
    case Holds::Bill:
        setBill(text);
        break;
    case Holds::Date: {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        static_cast<QDateEdit *>(b.control)->setDate(date.isValid() ? date : noDate());
        break;
    }
    case Holds::Pick: {
        auto *box = static_cast<QComboBox *>(b.control);
        if (text.isEmpty())
            box->setCurrentIndex(-1);
        else
            selectOrAdd(box, text);
        break;
    }
    case Holds::ClassArm:
        refillArms();
        if (text.isEmpty())
            m_classArm->setCurrentIndex(-1);
        else
            selectOrAdd(m_classArm, text);
        break;
    case Holds::Sex:
        m_sex->setCurrentIndex(text.compare(QLatin1String("Male"), Qt::CaseInsensitive) == 0 ? 0
                                                                                             : 1);
        break;
    case Holds::FreePick: {
        auto *box = static_cast<QComboBox *>(b.control);
        const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            box->setCurrentIndex(index);
        box->setEditText(text);
        break;
    }
    case Holds::Photo:
        m_photoPath =
            text.isEmpty() ? m_state.AppPath + PhotoFolder : m_state.path(PhotoFolder + text);
        break;
    }
}

QVariant MenData::storedValue(const Binding &b) const
{
    switch (b.holds) {
    case Holds::Text:
        return static_cast<QLineEdit *>(b.control)->text();
    case Holds::Number: {
        // An empty box leaves the field without a value; a number is stored as
        // it was read by the box's check; anything else goes to the engine as
        // typed, which refuses it.
        const QString text = static_cast<QLineEdit *>(b.control)->text();
        if (text.trimmed().isEmpty())
            return QVariant(QMetaType::fromType<double>());
        if (const std::optional<double> value = Numbers::readWhole(text))
            return *value;
        return text;
    }
    case Holds::Lines:
        return static_cast<QPlainTextEdit *>(b.control)->toPlainText();
    case Holds::Rich:
        return static_cast<QTextEdit *>(b.control)->toPlainText();
    case Holds::Bill:
        return m_billValue;
    case Holds::Date: {
        const QDate date = static_cast<QDateEdit *>(b.control)->date();
        if (date == noDate())
            return nullText();
        return date.toString(Qt::ISODate);
    }
    case Holds::Pick:
    case Holds::ClassArm:
    case Holds::Sex: {
        auto *box = static_cast<QComboBox *>(b.control);
        if (box->currentIndex() < 0)
            return nullText();
        return box->currentText();
    }
    case Holds::FreePick:
        return static_cast<QComboBox *>(b.control)->currentText();
    case Holds::Photo:
        return Paths::FileNameOfPath(m_photoPath);
    }
    return {};
}

void MenData::showPhoto()
{
    m_photo->clear();
    if (!m_photoPath.contains(QLatin1String(".gif"), Qt::CaseInsensitive))
        return;
    QImageReader reader(m_photoPath);
    const QImage image = reader.read();
    if (image.isNull()) {
        m_state.services.messages.ok(reader.errorString() + QStringLiteral(": ") + m_photoPath);
        return;
    }
    m_photo->setPixmap(QPixmap::fromImage(image.scaled(
        m_photo->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void MenData::setPhotoPath(const QString &path, bool loadPicture)
{
    m_photoPath = path;
    if (!loadPicture)
        return;
    const QImage image(path);
    if (image.isNull())
        return;
    m_photo->setPixmap(QPixmap::fromImage(image.scaled(
        m_photo->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void MenData::showCount()
{
    const int count = m_rs.isOpen() ? m_rs.recordCount() : 0;
    m_frame2->setTitle(QStringLiteral("Initial total records = ") +
                       QString::number(count < 1 ? 0 : count));
}

void MenData::ShowTheRecord()
{
    if (!m_rs.isOpen() || m_rs.bof() || m_rs.eof() || !m_rs.hasCurrentRow())
        return;
    std::vector<std::pair<const Binding *, QVariant>> read;
    for (const Binding &b : m_bindings) {
        if (belongs(b.group)) {
            read.emplace_back(&b, m_rs.value(b.column));
            showValue(b, read.back().second);
        }
    }
    if (belongs(Group::Person))
        showPhoto();
    // Also when the text did not change, so an empty field shows as 0.
    normalisePercentage();
    rememberDebt();
    showCount();
    m_asRead.clear();
    for (const auto &[b, value] : read)
        m_asRead.remember(b->control, value, shownValue(*b));
}

bool MenData::StoreTheRecord()
{
    std::vector<std::tuple<const Binding *, QVariant, QVariant>> written;
    for (const Binding &b : m_bindings) {
        if (!belongs(b.group))
            continue;
        const QVariant shown = shownValue(b);
        const QVariant value = m_asRead.valueToStore(b.control, shown, storedValue(b));
        if (!m_rs.setValue(b.column, value)) {
            m_state.services.messages.ok(m_rs.lastError());
            return false;
        }
        written.emplace_back(&b, value, shown);
    }
    if (!m_rs.setValue(QStringLiteral("Date_Last_Updated"),
                       m_state.services.clock.today().toString(Qt::ISODate)) ||
        !m_rs.update()) {
        m_state.services.messages.ok(storeMessage());
        return false;
    }
    for (const auto &[b, value, shown] : written)
        m_asRead.remember(b->control, value, shown);
    return true;
}

QString MenData::storeMessage() const
{
    if (!m_rs.lastSqlError().isValid())
        return m_rs.lastError();
    return storeErrorText(m_rs.lastSqlError(), m_kind, numberBox()->text(),
                          [this](const QString &column) { return captionOf(column); });
}

QLineEdit *MenData::numberBox() const
{
    return AppState::isStockKind(m_kind) ? findChild<QLineEdit *>(QStringLiteral("txtStockNumber"))
                                         : m_number;
}

QString MenData::captionOf(const QString &column) const
{
    for (const Binding &b : m_bindings) {
        if (belongs(b.group) && b.column.compare(column, Qt::CaseInsensitive) == 0) {
            if (auto *l = findChild<QLabel *>(QStringLiteral("lbl") + b.control->objectName().mid(3)))
                return l->text();
        }
    }
    return column;
}

void MenData::focusField(QWidget *field)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->widget(i)->isAncestorOf(field))
            m_tabs->setCurrentIndex(i);
    field->setFocus(Qt::OtherFocusReason);
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
        if (text.trimmed().isEmpty() || Numbers::readWhole(text) || m_asRead.unchanged(b.control, text))
            continue;
        m_state.services.messages.ok(captionOf(b.column) + QStringLiteral(" must be a number."));
        focusField(b.control);
        return false;
    }
    return true;
}

void MenData::onNumberChanged(const QString &text)
{
    // The stock tab has its own number box; its caption stays as the opener set it.
    if (AppState::isStockKind(m_kind))
        return;
    setWindowTitle(m_kind + QStringLiteral(" Data Entry") + QStringLiteral(" : Number ") + text);
}

// ---------------------------------------------------------------- editing state

bool MenData::editing() const
{
    return !m_frame4->isHidden();
}

void MenData::setBrowsing(bool browsing)
{
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

void MenData::resetControls(const QDate &date)
{
    for (const Binding &b : m_bindings) {
        switch (b.holds) {
        case Holds::Text:
        case Holds::Number:
            static_cast<QLineEdit *>(b.control)->clear();
            break;
        case Holds::Lines:
            static_cast<QPlainTextEdit *>(b.control)->clear();
            break;
        case Holds::Rich:
            static_cast<QTextEdit *>(b.control)->clear();
            break;
        case Holds::Bill:
            setBill(QString());
            break;
        case Holds::Date:
            static_cast<QDateEdit *>(b.control)->setDate(date);
            break;
        case Holds::Pick:
        case Holds::Sex:
        case Holds::FreePick:
        case Holds::ClassArm: {
            auto *box = static_cast<QComboBox *>(b.control);
            if (box->count() > 0)
                box->setCurrentIndex(0);
            if (box->isEditable())
                box->setEditText(box->itemText(0));
            break;
        }
        case Holds::Photo:
            m_photoPath.clear();
            m_photo->clear();
            break;
        }
    }
    // The arm list follows the level now shown, not the row shown before.
    refillArms();
    if (m_classArm->count() > 0)
        m_classArm->setCurrentIndex(0);
    normalisePercentage();
    rememberDebt();
    m_goTo->clear();
}

QVariant MenData::shownValue(const Binding &b) const
{
    switch (b.holds) {
    case Holds::Text:
    case Holds::Number:
        return static_cast<QLineEdit *>(b.control)->text();
    case Holds::Lines:
        return static_cast<QPlainTextEdit *>(b.control)->toPlainText();
    case Holds::Rich:
        return static_cast<QTextEdit *>(b.control)->toPlainText();
    case Holds::Bill:
        return m_billValue;
    case Holds::Date:
        return static_cast<QDateEdit *>(b.control)->date();
    case Holds::Pick:
    case Holds::Sex:
    case Holds::FreePick:
    case Holds::ClassArm:
        return static_cast<QComboBox *>(b.control)->currentText();
    case Holds::Photo:
        return m_photoPath;
    }
    return {};
}

void MenData::rememberControls()
{
    m_remembered.clear();
    for (const Binding &b : m_bindings)
        m_remembered.insert(b.control, shownValue(b));
    m_StoreCurrentImage0 = m_photoPath;
}

void MenData::restoreControls()
{
    for (const Binding &b : m_bindings) {
        const QVariant value = m_remembered.value(b.control);
        switch (b.holds) {
        case Holds::Text:
        case Holds::Number:
            static_cast<QLineEdit *>(b.control)->setText(value.toString());
            break;
        case Holds::Lines:
            static_cast<QPlainTextEdit *>(b.control)->setPlainText(value.toString());
            break;
        case Holds::Rich:
            static_cast<QTextEdit *>(b.control)->setPlainText(value.toString());
            break;
        case Holds::Bill:
            setBill(value.toString());
            break;
        case Holds::Date:
            static_cast<QDateEdit *>(b.control)->setDate(value.toDate());
            break;
        case Holds::Pick:
        case Holds::Sex: {
            auto *box = static_cast<QComboBox *>(b.control);
            box->setCurrentIndex(
                box->findText(value.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
            break;
        }
        case Holds::ClassArm:
            // The level is back already; its arms may differ from those now listed.
            refillArms();
            if (value.toString().isEmpty())
                m_classArm->setCurrentIndex(-1);
            else
                selectOrAdd(m_classArm, value.toString());
            break;
        case Holds::FreePick: {
            // A state typed as free text comes back as typed.
            auto *box = static_cast<QComboBox *>(b.control);
            const int index =
                box->findText(value.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (index >= 0)
                box->setCurrentIndex(index);
            box->setEditText(value.toString());
            break;
        }
        case Holds::Photo:
            setPhotoPath(m_StoreCurrentImage0,
                         !Paths::FileNameOfPath(m_StoreCurrentImage0).isEmpty());
            break;
        }
    }
    rememberDebt();
}

// ---------------------------------------------------------------- actions

void MenData::cmdActionClick(int index)
{
    if (index != 11)
        m_actionMode.clear();
    switch (index) {
    case 0:
        moveFirst();
        break;
    case 1:
        moveLast();
        break;
    case 2:
        movePrevious();
        break;
    case 3:
        moveNext();
        break;
    case 6:
        deleteRecord();
        break;
    case 7:
        findNumber();
        break;
    case 8:
        newRecord();
        break;
    case 9:
        editRecord();
        break;
    case 10:
        updateRecord();
        break;
    case 11:
        abortChanges();
        break;
    case 24:
        sendToAlumni();
        break;
    default:
        break;
    }
}

void MenData::moveFirst()
{
    m_rs.moveFirst();
    if (!m_rs.bof() && !m_rs.eof())
        ShowTheRecord();
}

void MenData::moveLast()
{
    m_rs.moveLast();
    if (!m_rs.bof() && !m_rs.eof())
        ShowTheRecord();
}

void MenData::movePrevious()
{
    m_rs.movePrevious();
    if (m_rs.bof())
        m_rs.moveFirst();
    ShowTheRecord();
}

void MenData::moveNext()
{
    m_rs.moveNext();
    if (m_rs.eof())
        m_rs.moveLast();
    ShowTheRecord();
}

void MenData::findNumber()
{
    const QString number = m_goTo->text().trimmed();
    if (number.isEmpty())
        return;
    // The number is bound, so quotes, % and _ in it are plain characters.
    const bool found = m_rs.find(QStringLiteral("Number"), number);
    m_goTo->clear();
    if (found)
        ShowTheRecord();
}

void MenData::newRecord()
{
    resetControls(m_state.services.clock.today());
    m_asRead.clear();
    setBrowsing(false);
    m_rs.addNew();
    m_actionMode = QStringLiteral("New");
    focusField(numberBox());
}

void MenData::editRecord()
{
    setBrowsing(false);
    rememberControls();
    m_actionMode = QStringLiteral("Edit");
}

void MenData::updateRecord()
{
    // Remembered before the click cleared it, so that Abort still knows what
    // to undo when the store fails.
    const QString mode = m_rs.editMode() == Recordset::EditMode::Adding ? QStringLiteral("New")
                                                                        : QStringLiteral("Edit");
    if (!readyToStore() || !StoreTheRecord()) {
        // Still editing, with what the operator typed; the table is unchanged.
        m_actionMode = mode;
        return;
    }
    showCount();
    setBrowsing(true);
}

void MenData::abortChanges()
{
    if (m_actionMode == QLatin1String("New")) {
        m_rs.cancelUpdate();
        ShowTheRecord();
    } else if (m_actionMode == QLatin1String("Edit")) {
        m_rs.cancelUpdate();
        restoreControls();
    } else {
        m_rs.cancelUpdate();
    }
    m_actionMode.clear();
    setBrowsing(true);
}

void MenData::showAfterRemoval()
{
    m_rs.moveNext();
    if (m_rs.eof())
        m_rs.moveFirst();
    if (m_rs.recordCount() == 0) {
        // Nothing left to show: no row's values may stay on the form.
        resetControls(noDate());
        showCount();
        return;
    }
    ShowTheRecord();
}

void MenData::deleteRecord()
{
    if (m_rs.bof() || m_rs.eof() || !m_rs.hasCurrentRow())
        return;
    MessageBoxes &messages = m_state.services.messages;
    const MessageBoxes::Buttons yesNo = MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No;
    if (messages.show(QStringLiteral("Cancel Deletion?"), MessageBoxes::Icon::None, yesNo) ==
        MessageBoxes::Yes)
        return;
    if (messages.show(QStringLiteral("Are you double sure you want to Delete?"),
                      MessageBoxes::Icon::None, yesNo) != MessageBoxes::Yes)
        return;
    if (!m_rs.deleteCurrent()) {
        messages.ok(m_rs.lastError());
        return;
    }
    showAfterRemoval();
}

void MenData::sendToAlumni()
{
    if (m_formerTable.isEmpty() || m_rs.bof() || m_rs.eof() || !m_rs.hasCurrentRow())
        return;
    MessageBoxes &messages = m_state.services.messages;
    const MessageBoxes::Buttons yesNo = MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No;
    if (messages.show(QStringLiteral("Cancel irrevocable transfer to Alumni records?"),
                      MessageBoxes::Icon::None, yesNo) == MessageBoxes::Yes)
        return;
    if (messages.show(QStringLiteral("Are you double sure you want to Transfer?"),
                      MessageBoxes::Icon::None, yesNo) != MessageBoxes::Yes)
        return;

    // The number as stored, not as the box may now read.
    const QString number = m_rs.value(QStringLiteral("Number")).toString();
    QSqlDatabase db = m_state.db();
    // The copy and the removal stand or fall together: a row is never lost.
    if (!db.transaction()) {
        messages.ok(engineText(db.lastError()));
        return;
    }
    QSqlQuery copy(db);
    // Both table names are fixed by the kind; only the number is data.
    const bool copied = copy.prepare(QStringLiteral("INSERT INTO ") + m_formerTable +
                                     QStringLiteral(" SELECT * FROM ") + m_kind +
                                     QStringLiteral(" WHERE Number = ?")) &&
                        (copy.bindValue(0, number), copy.exec()) && copy.numRowsAffected() > 0;
    if (!copied) {
        const QString why = copy.lastError().isValid()
                                ? engineText(copy.lastError())
                                : QStringLiteral("The row was not copied to ") + m_formerTable +
                                      QStringLiteral(".");
        copy.finish();
        db.rollback();
        messages.ok(why);
        return;
    }
    copy.finish();
    if (!m_rs.deleteCurrent()) {
        const QString why = m_rs.lastError();
        db.rollback();
        messages.ok(why);
        return;
    }
    if (!db.commit()) {
        const QString why = engineText(db.lastError());
        db.rollback();
        // The cursor already let the row go; read the table afresh.
        m_rs.open(db, m_kind);
        m_rs.find(QStringLiteral("Number"), number);
        ShowTheRecord();
        messages.ok(why);
        return;
    }
    showAfterRemoval();
}

// ---------------------------------------------------------------- money, checks, remarks

void MenData::addFieldChecks()
{
    m_checks = new FieldChecks(this);
    // A read-only box cannot be mended, so it never holds the focus.
    auto editable = [](QWidget *box) {
        if (auto *line = qobject_cast<QLineEdit *>(box))
            return !line->isReadOnly();
        if (auto *lines = qobject_cast<QPlainTextEdit *>(box))
            return !lines->isReadOnly();
        return true;
    };
    for (const char *name :
         {"txtNumber", "txtSurname", "txtAddress", "txtStockNumber", "txtMaterial"}) {
        QWidget *box = findChild<QWidget *>(QLatin1String(name));
        m_checks->add(box, [=] { return !editable(box) || !boxText(box).trimmed().isEmpty(); });
    }
    // Grouped text such as 1,500 is refused: it would read as 1.
    m_checks->add(m_debt, [this, editable] {
        return !editable(m_debt) || Numbers::isWholeNumberText(m_debt->text());
    });
    for (const char *name : {"txtCummulativePaid", "txtLastPurchasePrice", "txtVolAtHand",
                             "txtMinimumVolToStock", "txtLastPurchaseVolume"}) {
        auto *box = findChild<QLineEdit *>(QLatin1String(name));
        m_checks->add(box, [=] {
            return !editable(box) || (Numbers::isWholeNumberText(box->text()) &&
                                      Numbers::readNumber(box->text()) >= 0);
        });
    }
    // Abort must stay reachable from a box that is not yet acceptable.
    m_checks->exempt(m_cmdAction.value(11));
}

void MenData::rememberDebt()
{
    // Also when another row replaces the debt under the caret (a shortcut
    // pressed in the box): the payable moves only by what the operator typed.
    m_debtAtFocus = Numbers::readNumber(m_debt->text());
}

void MenData::txtDebt_LostFocus()
{
    const double payable = Numbers::readNumber(m_debt->text()) - m_debtAtFocus +
                           Numbers::readNumber(m_payable->text());
    m_payable->setText(Numbers::numberText(payable));
    txtPayable_LostFocus();
}

void MenData::txtPayable_LostFocus()
{
    const double balance =
        Numbers::readNumber(m_paid->text()) - Numbers::readNumber(m_payable->text());
    m_balance->setText(Numbers::numberText(balance));
}

void MenData::normalisePercentage()
{
    const QString text = m_percentage->text();
    QString wanted = Numbers::numberText(Numbers::readNumber(text));
    // A point, and zeros after it, typed at the end stay while a fraction is typed.
    const QString typed = text.trimmed();
    if (typed.startsWith(wanted) && !wanted.contains(u'E')) {
        static const QRegularExpression afterWhole(QStringLiteral("^\\.0*$"));
        static const QRegularExpression afterFraction(QStringLiteral("^0+$"));
        const QString rest = typed.mid(wanted.size());
        if (!rest.isEmpty() &&
            (wanted.contains(u'.') ? afterFraction : afterWhole).match(rest).hasMatch())
            wanted = typed;
    }
    if (wanted == text)
        return;
    const QSignalBlocker quiet(m_percentage);
    m_percentage->setText(wanted);
    m_percentage->setCursorPosition(static_cast<int>(wanted.size()));
}

void MenData::insertAtCaret(QTextEdit *box, const QString &text)
{
    if (box->isReadOnly())
        return;
    box->textCursor().insertText(text);
}

void MenData::setBill(const QString &text)
{
    m_billValue = text;
    m_billText->setPlainText(text);
}

QString MenData::classLevelText() const
{
    return m_classLevel->currentText();
}

QString MenData::billText() const
{
    return m_billValue;
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

// ---------------------------------------------------------------- opener, closing, keys

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

void MenData::done(int result)
{
    m_rs.close();
    QDialog::done(result);
    m_state.LoginGranted = false;
}

void MenData::closeEvent(QCloseEvent *event)
{
    // Closing must not drop an edit unseen (the close box, Alt+F4).
    if (editing()) {
        const MessageBoxes::Button answer = m_state.services.messages.show(
            QStringLiteral("Store the changes to ") + numberBox()->text() + u'?',
            MessageBoxes::Icon::Question,
            MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No | MessageBoxes::Cancel);
        if (answer == MessageBoxes::Yes)
            cmdActionClick(10);
        else if (answer == MessageBoxes::No)
            cmdActionClick(11);
        if (editing()) {
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}

void MenData::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the form and drop an edit unseen.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MenData::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // Switching windows or opening a list is not entering or leaving a box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool moved = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (moved && type == QEvent::FocusIn) {
            if (watched == m_debt)
                rememberDebt();
            else if (watched == m_classArm)
                refillArms();
        } else if (moved && type == QEvent::FocusOut) {
            // Only a box that passed its check computes; a read-only form computes nothing.
            if (watched == m_debt && !m_debt->isReadOnly() &&
                Numbers::isWholeNumberText(m_debt->text()))
                txtDebt_LostFocus();
            else if (watched == m_payable && !m_debt->isReadOnly())
                txtPayable_LostFocus();
            else if (watched == m_paid && !m_paid->isReadOnly() &&
                     Numbers::isWholeNumberText(m_paid->text()) &&
                     Numbers::readNumber(m_paid->text()) >= 0)
                txtPayable_LostFocus();
            else if (watched == m_classLevel)
                refillArms();
        }
    }
    if (type == QEvent::KeyPress) {
        auto *box = qobject_cast<QTextEdit *>(watched);
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (box && m_remarksBoxes.contains(box) && (key == Qt::Key_F5 || key == Qt::Key_F6)) {
            insertAtCaret(box, key == Qt::Key_F5
                                   ? QLocale::system().toString(m_state.services.clock.today(),
                                                                QLocale::ShortFormat)
                                   : m_state.classes.CurrentTerm);
            return true;
        }
    }
    if (watched == m_goTo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdActionClick(7);
            return true;
        }
    }
    // A locked list or date keeps its value: no wheel, no keys, no drop-down.
    // Unlocked, the wheel turns it only once the operator is in it.
    QWidget *control = qobject_cast<QWidget *>(watched);
    if (control && !isPicker(control) && isPicker(control->parentWidget()))
        control = control->parentWidget(); // the edit field inside a list
    if (control && isPicker(control) && type == QEvent::Wheel &&
        !(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget())))
        return true;
    if (control && isPicker(control) && m_controlsLocked) {
        switch (event->type()) {
        case QEvent::Wheel:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Tab && key != Qt::Key_Backtab)
                return true;
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
