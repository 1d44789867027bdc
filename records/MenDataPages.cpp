#include "records/MenData.h"

#include "platform/DateBox.h"
#include "records/PhotoLoader.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

QLineEdit *MenData::lineEdit(const char *name, const char *tip)
{
    return named(new QLineEdit(this), name, tip);
}

QPlainTextEdit *MenData::linesEdit(const char *name, const char *tip, int lines)
{
    auto *box = named(new QPlainTextEdit(this), name, tip);
    // Tab moves on, as in every other box of the form.
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + 12);
    return box;
}

QTextEdit *MenData::richEdit(const char *name, const char *tip)
{
    auto *box = named(new QTextEdit(this), name, tip);
    box->setAcceptRichText(false);
    box->setTabChangesFocus(true);
    // F5 and F6 insert the date and the term.
    box->installEventFilter(this);
    m_remarksBoxes.append(box);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * 4 + 12);
    return box;
}

QComboBox *MenData::pickList(const char *name, bool editable)
{
    auto *box = named(new QComboBox(this), name);
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

QDateEdit *MenData::datePicker(const char *name)
{
    auto *picker = named(new DateBox(this), name);
    picker->setFocusPolicy(Qt::StrongFocus);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    picker->setMinimumDate(noDate());
    picker->setSpecialValueText(QStringLiteral("no date"));
    picker->setDate(noDate());
    picker->installEventFilter(this);
    return picker;
}

QLabel *MenData::label(const char *caption, QWidget *buddy)
{
    auto *l = new QLabel(QString::fromUtf8(caption), this);
    l->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
    l->setBuddy(buddy);
    l->setWordWrap(true);
    return l;
}

int MenData::addRows(QGridLayout *grid, int row, const Rows &rows)
{
    for (const auto &[caption, control] : rows) {
        grid->addWidget(label(caption, control), row, 0, Qt::AlignTop);
        grid->addWidget(control, row++, 1);
    }
    return row;
}

// ---------------------------------------------------------------- tabs

void MenData::buildBasicTab(QWidget *page)
{
    m_number = lineEdit("txtNumber", "a unique ID");
    auto *surname = lineEdit("txtSurname");
    auto *otherNames = linesEdit("txtOthernames");
    m_sex = pickList("cmbSex");
    auto *state = pickList("cmbState", true);
    auto *birthday = datePicker("dtpBirthday");
    auto *enlisted = datePicker("dtpEnlisted");
    auto *address = linesEdit("txtAddress", nullptr, 3);
    auto *nextOfKin = lineEdit("txtNextOfKin");
    auto *addressNok = linesEdit("txtAddressNOK", nullptr, 3);
    auto *relationship = lineEdit("txtRelationshipNOK");

    m_photo = named(new QLabel(this), "imgView(0)", "click to change");
    m_photo->setAccessibleName(QStringLiteral("Passport Photo"));
    m_photo->setFixedSize(150, 180);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setAlignment(Qt::AlignCenter);
    // A click opens the photo picker.
    m_photo->installEventFilter(this);
    m_photoLoader = new PhotoLoader(this);
    connect(m_photoLoader, &PhotoLoader::loaded, this, &MenData::photoLoaded);
    auto *photoLabel = named(new QLabel(QStringLiteral("Passport Photo"), this), "lblPassportPhoto");
    photoLabel->setBuddy(m_photo);
    photoLabel->setAlignment(Qt::AlignHCenter);

    auto *grid = new QGridLayout(page);
    const int rows = addRows(grid, 0,
                             {{"Number", m_number},
                              {"Surname", surname},
                              {"Other Names", otherNames},
                              {"Sex", m_sex},
                              {"State of Origin", state},
                              {"Birthday", birthday},
                              {"Date Enlisted", enlisted},
                              {"Address", address},
                              {"Next of Kin", nextOfKin},
                              {"Permanent or Office Address of Next Of Kin", addressNok},
                              {"Relationship", relationship}});
    grid->setRowStretch(rows, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, 150);

    auto *photoBox = new QVBoxLayout;
    photoBox->addWidget(photoLabel);
    photoBox->addWidget(m_photo, 0, Qt::AlignHCenter);
    photoBox->addStretch(1);
    grid->addLayout(photoBox, 0, 2, rows, 1);
    grid->setColumnMinimumWidth(2, 170);

    connect(m_number, &QLineEdit::textChanged, this, &MenData::onNumberChanged);
}

void MenData::buildStudentTab(QWidget *page)
{
    m_classLevel = pickList("cmbClassLevel");
    m_classArm = pickList("cmbClassArm");
    m_percentage = lineEdit("txtPercentage", "average score");
    auto *history = richEdit("rtfAcademicHistory", "summary of previous performances, press F5/F6 "
                                                   "to insert Date/Term");
    m_studentRemarks = richEdit("rtfStudentRemarks", "press F5/F6 to insert Date/Term");
    m_debt = lineEdit("txtDebt");
    m_bill = named(new QPushButton(QStringLiteral("Bill this Term"), this), "cmdBill",
                   "click to edit bill");
    m_bill->setAutoDefault(false);
    // Alt+P is Previous's.
    m_printBill = named(new QPushButton(QStringLiteral("Print &Bill"), this), "cmdPrintBill",
                        "print this student's bill");
    m_printBill->setAutoDefault(false);
    m_billText = linesEdit("txtBillThisTerm", "scroll to see all", 5);
    m_billText->setReadOnly(true);
    m_billText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_billText->setAccessibleName(QStringLiteral("Bill this Term"));
    m_payable = lineEdit("txtPayable", "automatically calculated as Debt + Bill");
    m_payable->setReadOnly(true);
    auto *lastPaid = lineEdit("txtAmountLastPaid");
    m_paid = lineEdit("txtCummulativePaid", "calculate manually as previous value + new payment");
    m_balance = lineEdit("txtFinancialBalance");
    auto *payments = richEdit("rtfPaymentHistory",
                              "state amount paid, what for, mode -cheque/teller/cash, cheque "
                              "number, etc. press F5/F6 to insert Date/Term");
    for (QLineEdit *computed : {m_payable, m_balance}) {
        QPalette p = computed->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        computed->setPalette(p);
    }

    auto *left = new QGridLayout;
    addRows(left, 0,
            {{"Class Level", m_classLevel},
             {"Class Arm", m_classArm},
             {"Percentage last term", m_percentage},
             {"Academic History", history},
             {"Remarks", m_studentRemarks}});
    left->setRowStretch(3, 1);
    left->setRowStretch(4, 1);
    left->setColumnStretch(1, 1);

    auto *right = new QGridLayout;
    addRows(right, 0, {{"Debt from last Term", m_debt}});
    auto *billButtons = new QVBoxLayout;
    billButtons->addWidget(m_bill);
    billButtons->addWidget(m_printBill);
    billButtons->addStretch(1);
    right->addLayout(billButtons, 1, 0);
    right->addWidget(m_billText, 1, 1);
    const int rows = addRows(right, 2,
                             {{"Amount Payable this Term", m_payable},
                              {"Amount Last Paid", lastPaid},
                              {"Cummulative Amount Paid This Term", m_paid},
                              {"Financial Balance", m_balance},
                              {"Payment History", payments}});
    right->setRowStretch(rows - 1, 1);
    right->setColumnStretch(1, 1);
    right->setColumnMinimumWidth(0, 150);
    besideEachOther(page, left, right);

    // Money boxes align their figures to the right.
    for (QLineEdit *money : {m_debt, m_payable, lastPaid, m_paid, m_balance})
        money->setAlignment(Qt::AlignRight);
    for (QLineEdit *watched : {m_debt, m_payable, m_paid})
        watched->installEventFilter(this);
    connect(m_bill, &QPushButton::clicked, this, &MenData::cmdBillClick);
    connect(m_printBill, &QPushButton::clicked, this, &MenData::cmdPrintBillClick);
    // Every row shown, or none, changes the number.
    connect(m_number, &QLineEdit::textChanged, this, &MenData::updatePrintBill);
    connect(m_percentage, &QLineEdit::textChanged, this, &MenData::normalisePercentage);
}

void MenData::buildStaffTab(QWidget *page)
{
    auto *marital = pickList("cmbMaritalStatus");
    auto *service = pickList("cmbServiceStatus");
    auto *qualification = lineEdit("txtQualification", "cetificate or degree");
    auto *speciality = lineEdit("txtSpeciality", "area of specialisation by training");
    auto *salary = lineEdit("txtMonthlySalary");
    auto *deductions = richEdit("rtfDeductions", "state deducted amounts and what for e.g. tax, "
                                                 "loans, etc. press F5/F6 to insert Date/Term");
    m_staffRemarks =
        richEdit("rtfStaffRemarks", "Head's general remarks, press F5/F6 to insert Date/Term");

    auto *left = new QGridLayout;
    left->setRowStretch(addRows(left, 0,
                                {{"Marital status", marital},
                                 {"Service status", service},
                                 {"Qualification", qualification},
                                 {"Speciality", speciality},
                                 {"Monthly Salary", salary}}),
                        1);
    left->setColumnStretch(1, 1);

    // Captions above the boxes here: the remarks want the width.
    auto *right = new QGridLayout;
    right->addWidget(label("Deductions", deductions), 0, 0);
    right->addWidget(deductions, 1, 0);
    right->addWidget(label("Remarks", m_staffRemarks), 2, 0);
    right->addWidget(m_staffRemarks, 3, 0);
    besideEachOther(page, left, right);
}

void MenData::buildStockTab(QWidget *page)
{
    auto *number = lineEdit("txtStockNumber");
    auto *material = linesEdit("txtMaterial");
    auto *description = linesEdit(
        "txtDescription",
        "material type, usage and unit of volume measurement and other remarks", 3);
    auto *supplier = linesEdit("txtSupplierName");
    auto *supplierAddress = linesEdit("txtSupplierAddress", nullptr, 3);
    auto *alternate = linesEdit("txtAlternateSupplierName");
    auto *alternateAddress = linesEdit("txtAlternateSupplierAddress", nullptr, 3);
    auto *lastDate = datePicker("dtpLastPurchaseDate");
    auto *lastPrice = lineEdit("txtLastPurchasePrice");
    auto *lastVolume = lineEdit("txtLastPurchaseVolume");
    auto *minimum = lineEdit("txtMinimumVolToStock");
    auto *estimated = datePicker("dtpEstimatedPurchaseDate");
    auto *atHand = lineEdit("txtVolAtHand");
    auto *expiry = datePicker("dtpExpiry");

    auto column = [this](const Rows &rows) {
        auto *grid = new QGridLayout;
        grid->setRowStretch(addRows(grid, 0, rows), 1);
        grid->setColumnStretch(1, 1);
        grid->setColumnMinimumWidth(0, 150);
        return grid;
    };
    // One after the other: the captions are made in the order they are read.
    QLayout *left = column({{"Number", number},
                            {"Material", material},
                            {"Description", description},
                            {"Supplier name", supplier},
                            {"Supplier address", supplierAddress},
                            {"Alternate supplier", alternate},
                            {"Alternate supplier address", alternateAddress}});
    QLayout *right = column({{"Last purchase date", lastDate},
                             {"Last purchase price", lastPrice},
                             {"Last purchase volume", lastVolume},
                             {"Minimum volume to stock", minimum},
                             {"Estimated purchase date", estimated},
                             {"Volume at hand", atHand},
                             {"Estimated Expiry Date", expiry}});
    besideEachOther(page, left, right, 3, 2);
}

void MenData::besideEachOther(QWidget *page, QLayout *left, QLayout *right, int leftStretch,
                              int rightStretch)
{
    auto *columns = new QHBoxLayout(page);
    columns->addLayout(left, leftStretch);
    columns->addSpacing(12);
    columns->addLayout(right, rightStretch);
}

