#include "SyntheticSchool.h"

#include "platform/Database.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <unistd.h>

#ifndef KOLVANE_EMPTY_DB_FILE
#error "KOLVANE_EMPTY_DB_FILE must name the database built from the schema"
#endif

namespace SyntheticSchool {

namespace {

const char *const ConnectionName = "synthetic-school";

const QStringList Surnames = {"Adeyemi",     "Okafor",  "Bello",    "Nwosu",    "Ibrahim",
                              "Okonkwo",     "Balogun", "Eze",      "Abubakar", "Ogunleye",
                              "Chukwuemeka", "Danjuma", "Olawale",  "Uche",     "Musa",
                              "Afolabi",     "Nnamdi",  "Oyelaran", "Akande",   "Ekwueme"};
const QStringList GivenNames = {"Ade",     "Chiamaka", "Tunde",     "Ngozi",  "Ifeanyi",
                                "Aisha",   "Emeka",    "Funmilayo", "Bola",   "Yusuf",
                                "Kelechi", "Halima",   "Segun",     "Amaka",  "Obinna",
                                "Zainab",  "Olumide",  "Chinedu",   "Folake", "Ibrahim"};
const QStringList Streets = {"Allen Avenue",  "Awolowo Road",     "Herbert Macaulay Way",
                             "Ring Road",     "Ahmadu Bello Way", "Station Road",
                             "Market Street", "Old Aba Road"};
const QStringList Towns = {"Ikeja", "Enugu", "Kaduna", "Ibadan", "Owerri", "Jos", "Abeokuta"};
const QStringList States = {"Lagos", "Enugu", "Kaduna", "Oyo", "Imo", "Plateau", "Ogun", "Kano"};
const QStringList Levels = {"Nursery1",   "Primary1",   "Primary2",   "Primary3",
                            "Primary4",   "Primary5",   "Primary6",   "Secondary1",
                            "Secondary2", "Secondary3", "Secondary4", "Secondary5"};
const QStringList Arms = {"A", "B", "C", "Blue", "Red"};
const QStringList Fees = {"Tuition", "Development_Levy", "Books",   "Uniform",
                          "Sports",  "Examination",      "Library", "Transport"};

class Maker
{
public:
    explicit Maker(quint32 seed) : m_random(seed) {}

    int number(int below) { return int(m_random.bounded(below)); }
    const QString &pick(const QStringList &list) { return list.at(number(int(list.size()))); }
    QString names() { return pick(GivenNames) + u' ' + pick(GivenNames); }
    QString address()
    {
        return QString::number(1 + number(200)) + u' ' + pick(Streets) + QStringLiteral("\r\n") +
               pick(Towns) + QStringLiteral(", ") + pick(States) + QStringLiteral(" State");
    }
    QString date(int fromYear, int years)
    {
        return QDate(fromYear, 1, 1).addDays(number(365 * years)).toString(Qt::ISODate);
    }
    QString sentences(int count)
    {
        static const QStringList parts = {"Works steadily and takes part in class.",
                                          "Needs support with arithmetic.",
                                          "Very good in English composition.",
                                          "Often late in the first term.",
                                          "Represented the school at the inter-house sports.",
                                          "Parents attended the open day.",
                                          "Improved well over the session."};
        QStringList out;
        for (int i = 0; i < count; ++i)
            out.append(pick(parts));
        return out.join(u' ');
    }
    double money(int below) { return 100.0 * number(below / 100 + 1); }

private:
    QRandomGenerator m_random;
};

bool tableHoldsRows(QSqlDatabase &db, const QString &table)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" LIMIT 1")) &&
           q.next();
}

bool run(QSqlQuery &q, QString *error)
{
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError().text();
    return false;
}

bool fillStudents(QSqlDatabase &db, Maker &make, int count, QString *error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO Student (Number, Surname, Other_Names, Sex, State_Of_Origin, Birthday, "
        "Date_Enlisted, Address, Next_Of_Kin, AddressNOK, RelationshipNOK, Picture, Remarks, "
        "Date_Last_Updated, Class_Level, Class_Arm, Percentage_Last_Term, Academic_History, "
        "Debt_From_Last_Term, Bill_This_Term, Amount_Payable, Amount_Last_Paid, "
        "Cummulative_Paid, Financial_Balance, Payment_History) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < count; ++i) {
        const QString surname = make.pick(Surnames);
        QString bill;
        double billTotal = 0;
        for (int f = 0, items = 3 + make.number(5); f < items; ++f) {
            const double amount = make.money(20000);
            billTotal += amount;
            bill += Fees.at(f) + QStringLiteral(" = ") + QString::number(amount) +
                    QStringLiteral("\r\n");
        }
        const double debt = make.money(10000);
        const double payable = debt + billTotal;
        const double paid = make.money(int(payable));
        const QVariantList values = {
            studentNumber(i),
            surname,
            make.names(),
            make.number(2) ? QStringLiteral("Male") : QStringLiteral("Female"),
            make.pick(States),
            make.date(2005, 12),
            make.date(2015, 10),
            make.address(),
            make.pick(GivenNames) + u' ' + surname,
            make.address(),
            make.number(2) ? QStringLiteral("Father") : QStringLiteral("Mother"),
            surname.toLower() + QString::number(i) + QStringLiteral(".gif"),
            make.sentences(3),
            make.date(2025, 1),
            make.pick(Levels),
            make.pick(Arms),
            double(35 + make.number(65)),
            make.sentences(4),
            debt,
            bill,
            payable,
            make.money(20000),
            paid,
            paid - payable,
            make.sentences(2)};
        for (int v = 0; v < values.size(); ++v)
            q.bindValue(v, values.at(v));
        if (!run(q, error))
            return false;
    }
    return true;
}

bool fillStaff(QSqlDatabase &db, Maker &make, int count, QString *error)
{
    static const QStringList marital = {"Single", "Married", "Widowed"};
    static const QStringList service = {"Working", "Leave", "Retired"};
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO Staff (Number, Surname, Other_Names, Sex, State_Of_Origin, Birthday, "
        "Date_Enlisted, Address, Next_Of_Kin, AddressNOK, RelationshipNOK, Picture, Remarks, "
        "Date_Last_Updated, Marital_Status, Service_Status, Qualification, Speciality, "
        "Monthly_Salary, Deductions) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < count; ++i) {
        const QString surname = make.pick(Surnames);
        const QVariantList values = {
            QStringLiteral("ST/%1").arg(i + 1, 4, 10, QChar(u'0')),
            surname,
            make.names(),
            make.number(2) ? QStringLiteral("Male") : QStringLiteral("Female"),
            make.pick(States),
            make.date(1960, 30),
            make.date(1995, 25),
            make.address(),
            make.pick(GivenNames) + u' ' + surname,
            make.address(),
            QStringLiteral("Spouse"),
            QString(),
            make.sentences(2),
            make.date(2025, 1),
            make.pick(marital),
            make.pick(service),
            make.number(2) ? QStringLiteral("B.Ed.") : QStringLiteral("NCE"),
            make.number(2) ? QStringLiteral("Mathematics") : QStringLiteral("English Language"),
            make.money(250000),
            QStringLiteral("Cooperative = 5000\r\nPension = 8000")};
        for (int v = 0; v < values.size(); ++v)
            q.bindValue(v, values.at(v));
        if (!run(q, error))
            return false;
    }
    return true;
}

bool fillStock(QSqlDatabase &db, Maker &make, int count, QString *error)
{
    static const QStringList materials = {"Chalk (white)",   "Exercise books", "Printer paper",
                                          "Cleaning liquid", "Football",       "Test tubes"};
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO Stock (Number, Material, Description, Supplier_Name, Supplier_Address, "
        "Alternate_Supplier_Name, Alternate_Supplier_Address, Last_Purchase_Date, "
        "Last_Purchase_Price, Last_Purchase_Volume, Volume_At_Hand, Minimum_Volume_To_Stock, "
        "Estimated_Purchase_Date, Expiry_Date, Date_Last_Updated) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < count; ++i) {
        const QVariantList values = {
            QStringLiteral("SK-%1").arg(i + 1, 4, 10, QChar(u'0')),
            make.pick(materials),
            QStringLiteral("Bought by the carton of 24; kept in the main store."),
            make.pick(Surnames) + QStringLiteral(" and Sons Ltd"),
            make.address(),
            make.pick(Surnames) + QStringLiteral(" Enterprises"),
            make.address(),
            make.date(2024, 2),
            make.money(50000),
            double(10 + make.number(100)),
            double(make.number(80)),
            double(5 + make.number(20)),
            make.date(2026, 1),
            make.date(2027, 3),
            make.date(2025, 1)};
        for (int v = 0; v < values.size(); ++v)
            q.bindValue(v, values.at(v));
        if (!run(q, error))
            return false;
    }
    return true;
}

bool fillAll(QSqlDatabase &db, const Counts &counts, QString *error)
{
    if (!db.isOpen()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    for (const char *table : {"Student", "Staff", "Stock"}) {
        if (tableHoldsRows(db, QString::fromLatin1(table))) {
            if (error)
                *error = QStringLiteral("%1 already holds records; use an empty program folder.")
                             .arg(QString::fromLatin1(table));
            return false;
        }
    }
    Maker make(20260314);
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    if (fillStudents(db, make, counts.students, error) &&
        fillStaff(db, make, counts.staff, error) && fillStock(db, make, counts.stock, error) &&
        db.commit())
        return true;
    if (error && error->isEmpty())
        *error = db.lastError().text();
    db.rollback();
    return false;
}


// A grey passport-sized picture as a GIF. Written without compression: a
// clear code before the code table would grow, so every code stays 9 bits.
QByteArray passportGif(int width, int height)
{
    QByteArray out("GIF89a");
    auto word = [&out](int v) {
        out.append(char(v & 0xff));
        out.append(char((v >> 8) & 0xff));
    };
    word(width);
    word(height);
    out.append(char(0xf7)); // global colour table of 256 entries
    out.append('\0');
    out.append('\0');
    for (int i = 0; i < 256; ++i)
        out.append(3, char(i));
    out.append(',');
    word(0);
    word(0);
    word(width);
    word(height);
    out.append('\0');
    out.append(char(8)); // minimum code size

    QByteArray data;
    quint32 bits = 0;
    int held = 0;
    auto code = [&](int c) {
        bits |= quint32(c) << held;
        held += 9;
        while (held >= 8) {
            data.append(char(bits & 0xff));
            bits >>= 8;
            held -= 8;
        }
    };
    const int clear = 256, end = 257;
    int sinceClear = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (sinceClear == 0)
                code(clear);
            // A face-like oval over a shaded background.
            const double dx = (x - width / 2.0) / (width * 0.3), dy = (y - height * 0.42) / (height * 0.32);
            code(dx * dx + dy * dy < 1.0 ? 200 - (y * 60 / height) : 60 + (x * 80 / width));
            sinceClear = (sinceClear + 1) % 250;
        }
    }
    code(end);
    if (held > 0)
        data.append(char(bits & 0xff));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(';');
    return out;
}

bool layOutPhotos(const QString &folder, QSqlDatabase &db, QString *error)
{
    const QString photos = QDir(folder).filePath(QStringLiteral("Pictures/FrontView"));
    QDir().mkpath(photos);
    const QByteArray picture = passportGif(360, 480);
    QString model;
    int linked = 0;
    // Hard links: a hundred thousand names, little disk. A file takes at most
    // 65,000 links, so a fresh model file every 50,000.
    auto link = [&](const QString &name) {
        if (linked++ % 50000 == 0) {
            if (!model.isEmpty())
                QFile::remove(model);
            model = photos + QStringLiteral("/.model-%1.gif").arg(linked);
            QFile file(model);
            if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size()) {
                if (error)
                    *error = QStringLiteral("Cannot write %1.").arg(model);
                return false;
            }
        }
        const QString target = photos + u'/' + name;
        QFile::remove(target);
        if (::link(QFile::encodeName(model).constData(), QFile::encodeName(target).constData()) != 0) {
            if (error)
                *error = QStringLiteral("Cannot make %1.").arg(target);
            return false;
        }
        return true;
    };
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Picture FROM Student ORDER BY rowid"))) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    // A third present as stored, a third missing, a third in other letters on disk;
    // then other files until the folder holds one file per student.
    int row = 0, files = 0;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (row % 3 != 1) {
            if (!link(row % 3 == 0 ? name : name.toUpper()))
                return false;
            ++files;
        }
        ++row;
    }
    for (int i = 0; files < row; ++i, ++files)
        if (!link(QStringLiteral("former-%1.gif").arg(i, 6, 10, QChar(u'0'))))
            return false;
    if (!model.isEmpty())
        QFile::remove(model);
    return true;
}
} // namespace

QString studentNumber(int index)
{
    // Admission year, then the place in that year's intake.
    return QStringLiteral("%1/%2").arg(2015 + index / 10000).arg(index % 10000, 4, 10, QChar(u'0'));
}

bool fill(const QString &folder, const Counts &counts, QString *error)
{
    const QString file = QDir(folder).filePath(QString::fromLatin1(Database::FileName));
    if (!QFileInfo::exists(file)) {
        QDir().mkpath(QFileInfo(file).path());
        if (!QFile::copy(QStringLiteral(KOLVANE_EMPTY_DB_FILE), file)) {
            if (error)
                *error = QStringLiteral("Cannot make %1.").arg(file);
            return false;
        }
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    bool ok = false;
    {
        QSqlDatabase db = Database::open(file, QString::fromLatin1(ConnectionName));
        ok = fillAll(db, counts, error) && (!counts.photos || layOutPhotos(folder, db, error));
    }
    Database::close(QString::fromLatin1(ConnectionName));
    return ok;
}

} // namespace SyntheticSchool
