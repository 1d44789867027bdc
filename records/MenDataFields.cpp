#include "records/MenData.h"

#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "records/PhotoFolder.h"
#include "records/PhotoLoader.h"
#include "records/PhotoTabStrip.h"
#include "records/PickLists.h"
#include "records/StoreErrors.h"

#include <QComboBox>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>

// One table drives showing, storing, New, Edit and Abort, in the order the
// fields are shown and stored.
void MenData::bindAll()
{
    auto bind = [this](const char *control, const char *column, Holds holds, Group group) {
        QWidget *w = findChild<QWidget *>(QLatin1String(control));
        Q_ASSERT(w);
        m_bindings.push_back({w, QLatin1String(column), holds, group});
    };

    bind("dtpEstimatedPurchaseDate", "Estimated_Purchase_Date", Holds::Date, Group::Stock);
    bind("dtpExpiry", "Expiry_Date", Holds::Date, Group::Stock);
    bind("dtpLastPurchaseDate", "Last_Purchase_Date", Holds::Date, Group::Stock);
    bind("txtDescription", "Description", Holds::Lines, Group::Stock);
    bind("txtLastPurchasePrice", "Last_Purchase_Price", Holds::Number, Group::Stock);
    bind("txtLastPurchaseVolume", "Last_Purchase_Volume", Holds::Number, Group::Stock);
    bind("txtMaterial", "Material", Holds::Lines, Group::Stock);
    bind("txtMinimumVolToStock", "Minimum_Volume_To_Stock", Holds::Number, Group::Stock);
    bind("txtStockNumber", "Number", Holds::Text, Group::Stock);
    bind("txtSupplierAddress", "Supplier_Address", Holds::Lines, Group::Stock);
    bind("txtSupplierName", "Supplier_Name", Holds::Lines, Group::Stock);
    bind("txtAlternateSupplierAddress", "Alternate_Supplier_Address", Holds::Lines, Group::Stock);
    bind("txtAlternateSupplierName", "Alternate_Supplier_Name", Holds::Lines, Group::Stock);
    bind("txtVolAtHand", "Volume_At_Hand", Holds::Number, Group::Stock);

    bind("cmbMaritalStatus", "Marital_Status", Holds::Pick, Group::Staff);
    bind("cmbServiceStatus", "Service_Status", Holds::Pick, Group::Staff);
    bind("rtfDeductions", "Deductions", Holds::Rich, Group::Staff);
    bind("txtMonthlySalary", "Monthly_Salary", Holds::Number, Group::Staff);
    bind("txtQualification", "Qualification", Holds::Text, Group::Staff);
    bind("txtSpeciality", "Speciality", Holds::Text, Group::Staff);
    bind("rtfStaffRemarks", "Remarks", Holds::Rich, Group::Staff);

    bind("cmbClassLevel", "Class_Level", Holds::Pick, Group::Student);
    bind("cmbClassArm", "Class_Arm", Holds::ClassArm, Group::Student);
    bind("rtfAcademicHistory", "Academic_History", Holds::Rich, Group::Student);
    bind("txtAmountLastPaid", "Amount_Last_Paid", Holds::Number, Group::Student);
    bind("txtBillThisTerm", "Bill_This_Term", Holds::Bill, Group::Student);
    bind("txtCummulativePaid", "Cummulative_Paid", Holds::Number, Group::Student);
    bind("txtDebt", "Debt_From_Last_Term", Holds::Number, Group::Student);
    bind("txtFinancialBalance", "Financial_Balance", Holds::Number, Group::Student);
    bind("rtfPaymentHistory", "Payment_History", Holds::Rich, Group::Student);
    bind("txtPayable", "Amount_Payable", Holds::Number, Group::Student);
    bind("txtPercentage", "Percentage_Last_Term", Holds::Number, Group::Student);
    bind("rtfStudentRemarks", "Remarks", Holds::Rich, Group::Student);

    bind("cmbSex", "Sex", Holds::Sex, Group::Person);
    bind("cmbState", "State_Of_Origin", Holds::FreePick, Group::Person);
    bind("dtpBirthday", "Birthday", Holds::Date, Group::Person);
    bind("dtpEnlisted", "Date_Enlisted", Holds::Date, Group::Person);
    bind("imgView(0)", "Picture", Holds::Photo, Group::Person);
    bind("txtAddress", "Address", Holds::Lines, Group::Person);
    bind("txtAddressNOK", "AddressNOK", Holds::Lines, Group::Person);
    bind("txtNextOfKin", "Next_Of_Kin", Holds::Text, Group::Person);
    bind("txtNumber", "Number", Holds::Text, Group::Person);
    bind("txtOthernames", "Other_Names", Holds::Lines, Group::Person);
    bind("txtRelationshipNOK", "RelationshipNOK", Holds::Text, Group::Person);
    bind("txtSurname", "Surname", Holds::Text, Group::Person);

    // Amounts and dates read the same without the text shaping engine, which
    // was a good part of laying out a row; names and remarks keep it, as
    // scripts such as Arabic need it.
    QFont unshaped;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    for (const Binding &b : m_bindings) {
        if (b.holds == Holds::Number || b.holds == Holds::Date)
            b.control->setFont(unshaped);
    }
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

QLineEdit *MenData::numberBox() const
{
    return AppState::isStockKind(m_kind) ? findChild<QLineEdit *>(QStringLiteral("txtStockNumber"))
                                         : m_number;
}

QString MenData::captionOf(const QString &column) const
{
    for (const Binding &b : m_bindings) {
        if (belongs(b.group) && b.column.compare(column, Qt::CaseInsensitive) == 0) {
            if (auto *l =
                    findChild<QLabel *>(QStringLiteral("lbl") + b.control->objectName().mid(3)))
                return l->text();
        }
    }
    return column;
}

// ---------------------------------------------------------------- showing and storing

void MenData::ShowTheRecord()
{
    if (!m_rs.isOpen() || !onRow())
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
    if (belongs(Group::Person) && !keepPhoto())
        return false;
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

void MenData::resetControls(const QDate &date)
{
    for (const Binding &b : m_bindings)
        clearValue(b, date);
    // The arm list follows the level now shown, not the row shown before.
    refillArms();
    if (m_classArm->count() > 0)
        m_classArm->setCurrentIndex(0);
    normalisePercentage();
    rememberDebt();
    m_goTo->clear();
}

void MenData::rememberControls()
{
    m_remembered.clear();
    for (const Binding &b : m_bindings)
        m_remembered.insert(b.control, shownValue(b));
}

void MenData::restoreControls()
{
    for (const Binding &b : m_bindings)
        restoreValue(b, m_remembered.value(b.control));
    rememberDebt();
}

void MenData::refillArms()
{
    FillClassArms(m_classLevel->currentText(), m_classArm, m_state.classes);
}

// ---------------------------------------------------------------- the photo

namespace {

// Why the photo cannot be shown, and which file. A missing file is said so at
// once: the picture reader would first try the name with each of its suffixes.
QString photoError(const QString &path, bool missing)
{
    if (missing)
        return QStringLiteral("File not found: ") + path;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.read();
    return reader.errorString() + QStringLiteral(": ") + path;
}

} // namespace

void MenData::showPhoto()
{
    if (!m_photoPath.contains(QLatin1String(".gif"), Qt::CaseInsensitive)) {
        forgetPhoto();
        return;
    }
    const QFileInfo file(m_photoPath);
    if (!file.exists()) {
        forgetPhoto();
        m_state.services.messages.ok(photoError(m_photoPath, true));
        return;
    }
    const QString shown = m_photoPath + u'|' + QString::number(file.size()) + u'|' +
                          QString::number(file.lastModified().toMSecsSinceEpoch());
    // Moving between rows: the same file, unchanged and still shown, is not decoded again.
    if (shown == m_photoShown && m_photo->pixmap().cacheKey() == m_photoPixmap) {
        m_photoLoader->cancel();
        return;
    }
    // The row shows at once; its photo follows when decoded, and never another row's photo
    // in the meantime.
    forgetPhoto();
    m_photoWanted = shown;
    m_photoLoader->request(m_photoPath, m_photo->contentsRect().size());
}

void MenData::photoLoaded(const QString &file, const QImage &picture)
{
    if (picture.isNull()) {
        m_state.services.messages.ok(photoError(file, !QFileInfo::exists(file)));
        return;
    }
    m_photo->setPixmap(QPixmap::fromImage(picture));
    m_photoShown = m_photoWanted;
    m_photoPixmap = m_photo->pixmap().cacheKey();
}

bool MenData::photoPending() const
{
    return m_photoLoader->busy();
}

void MenData::forgetPhoto()
{
    m_photoLoader->cancel();
    m_photo->clear();
    m_photoShown.clear();
}

void MenData::setPhotoPath(const QString &path, bool loadPicture)
{
    m_photoPath = path;
    if (!loadPicture)
        return;
    m_photoLoader->cancel();
    const QImage image = readPictureToFit(path, m_photo->contentsRect().size());
    if (!image.isNull())
        m_photo->setPixmap(QPixmap::fromImage(image));
}

void MenData::insertPhoto(const QString &path, const QImage &picture)
{
    m_photoLoader->cancel();
    m_photoPath = path;
    m_photo->setPixmap(QPixmap::fromImage(fitted(picture, m_photo->contentsRect().size())));
}

void MenData::photoClicked()
{
    if (!m_state.LoginGranted)
        return;
    PhotoTabStrip picker(m_state, *this, PhotoTabStrip::FrontView);
    picker.exec();
}

bool MenData::keepPhoto()
{
    const PhotoFolder::Kept kept =
        PhotoFolder::keep(m_state.AppPath, m_photoPath, [this](const QString &name) {
            return m_state.services.messages.yes(MessageBoxes::lines(
                {QStringLiteral("Pictures/FrontView already holds a different photo named ") +
                     name + u'.',
                 QStringLiteral(
                     "Replace it with the photo chosen? (No keeps it and stores the chosen "
                     "photo under a new name.)")}));
        });
    if (!kept.error.isEmpty()) {
        m_state.services.messages.ok(QStringLiteral("The photo could not be copied into "
                                                    "Pictures/FrontView: ") +
                                         kept.error,
                                     MessageBoxes::Icon::Exclamation);
        return false;
    }
    m_photoPath = kept.path;
    return true;
}
