#include "platform/Database.h"

#include <QFile>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

// The delivered database, made from the schema by the build.
class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void formerTablesMatch_data();
    void formerTablesMatch();
    void columnsInOrder_data();
    void columnsInOrder();
    void numberColumnsRefuseText_data();
    void numberColumnsRefuseText();
    void numberLookupIgnoresCase();
    void feesHaveEveryLevel();
    void accountsNumbersItself();
    void formerTablesKeepRepeatedNumbers();

private:
    QTemporaryDir m_dir;
    QSqlDatabase db() { return QSqlDatabase::database(QStringLiteral("schema")); }
    QList<std::pair<QString, QString>> columns(const QString &table);
};

void TestSchema::initTestCase()
{
    const QString file = m_dir.path() + QStringLiteral("/Kolvane.db");
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_EMPTY_DB_FILE), file));
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(Database::open(file, QStringLiteral("schema")).isOpen());
}

void TestSchema::cleanupTestCase()
{
    Database::close(QStringLiteral("schema"));
}

QList<std::pair<QString, QString>> TestSchema::columns(const QString &table)
{
    QList<std::pair<QString, QString>> cols;
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"));
    q.addBindValue(table);
    if (!q.exec())
        return cols;
    while (q.next())
        cols.append({q.value(0).toString(), q.value(1).toString()});
    return cols;
}

void TestSchema::formerTablesMatch_data()
{
    QTest::addColumn<QString>("live");
    QTest::addColumn<QString>("former");
    QTest::newRow("students") << "Student" << "FormerStudent";
    QTest::newRow("staff") << "Staff" << "FormerStaff";
}

void TestSchema::formerTablesMatch()
{
    QFETCH(QString, live);
    QFETCH(QString, former);
    const auto a = columns(live);
    QVERIFY(!a.isEmpty());
    QCOMPARE(columns(former), a);
}

void TestSchema::columnsInOrder_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("names");
    const QStringList person = {"Number", "Surname", "Other_Names", "Sex", "State_Of_Origin",
                                "Birthday", "Date_Enlisted", "Address", "Next_Of_Kin",
                                "AddressNOK", "RelationshipNOK", "Picture", "Remarks",
                                "Date_Last_Updated"};
    QTest::newRow("Student") << "Student"
                             << person + QStringList{"Class_Level", "Class_Arm",
                                                     "Percentage_Last_Term", "Academic_History",
                                                     "Debt_From_Last_Term", "Bill_This_Term",
                                                     "Amount_Payable", "Amount_Last_Paid",
                                                     "Cummulative_Paid", "Financial_Balance",
                                                     "Payment_History"};
    QTest::newRow("Staff") << "Staff"
                           << person + QStringList{"Marital_Status", "Service_Status",
                                                   "Qualification", "Speciality",
                                                   "Monthly_Salary", "Deductions"};
    QTest::newRow("Stock") << "Stock"
                           << QStringList{"Number", "Material", "Description", "Supplier_Name",
                                          "Supplier_Address", "Alternate_Supplier_Name",
                                          "Alternate_Supplier_Address", "Last_Purchase_Date",
                                          "Last_Purchase_Price", "Last_Purchase_Volume",
                                          "Volume_At_Hand", "Minimum_Volume_To_Stock",
                                          "Estimated_Purchase_Date", "Expiry_Date",
                                          "Date_Last_Updated"};
    QTest::newRow("Accounts") << "Accounts"
                              << QStringList{"ID", "Date_Of_Transaction", "Good_Or_Service",
                                             "Amount"};
}

void TestSchema::columnsInOrder()
{
    QFETCH(QString, table);
    QFETCH(QStringList, names);
    QStringList actual;
    for (const auto &c : columns(table))
        actual.append(c.first);
    QCOMPARE(actual, names);
}

void TestSchema::numberColumnsRefuseText_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::newRow("payable") << "Student" << "Amount_Payable";
    QTest::newRow("salary") << "Staff" << "Monthly_Salary";
    QTest::newRow("price") << "Stock" << "Last_Purchase_Price";
    QTest::newRow("fee") << "Fees" << "Tuition";
}

void TestSchema::numberColumnsRefuseText()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    const QString key = table == QStringLiteral("Fees") ? QStringLiteral("Class_Level")
                                                        : QStringLiteral("Number");
    QVERIFY(db().transaction());
    auto rollback = qScopeGuard([this] { db().rollback(); });
    QSqlQuery q(db());
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(table, key, column)));
    q.addBindValue(QStringLiteral("T-1"));
    q.addBindValue(QStringLiteral("12abc"));
    QVERIFY(!q.exec());
    QVERIFY2(q.lastError().text().contains(QStringLiteral("cannot store TEXT value in REAL column")),
             qPrintable(q.lastError().text()));

    // A text that is a number is taken as the number.
    q.addBindValue(QStringLiteral("T-2"));
    q.addBindValue(QStringLiteral("1500.5"));
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    QSqlQuery back(db());
    back.prepare(QStringLiteral("SELECT %1, typeof(%1) FROM %2 WHERE %3 = ?").arg(column, table, key));
    back.addBindValue(QStringLiteral("t-2"));
    QVERIFY(back.exec() && back.next());
    QCOMPARE(back.value(0).toDouble(), 1500.5);
    QCOMPARE(back.value(1).toString(), QStringLiteral("real"));
}

void TestSchema::numberLookupIgnoresCase()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Staff (Number, Surname) VALUES ('st-07a', 'Okafor')")));
    q.prepare(QStringLiteral("SELECT Surname FROM Staff WHERE Number = ?"));
    q.addBindValue(QStringLiteral("ST-07A"));
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Okafor"));
    // Unique regardless of letter case.
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO Staff (Number) VALUES ('ST-07A')")));
}

void TestSchema::feesHaveEveryLevel()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM Fees")));
    QCOMPARE(q.record().count(), 21);
    QCOMPARE(q.record().fieldName(0), QStringLiteral("Class_Level"));
    QStringList levels;
    while (q.next()) {
        levels.append(q.value(0).toString());
        for (int i = 1; i <= 20; ++i)
            QCOMPARE(q.value(i).toDouble(), 0.0);
    }
    QCOMPARE(levels.size(), 19);
    QVERIFY(levels.contains(QStringLiteral("KinderGarten1")));
    QVERIFY(levels.contains(QStringLiteral("Secondary8")));
}

void TestSchema::accountsNumbersItself()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Accounts (Date_Of_Transaction, Good_Or_Service, Amount) "
                                  "VALUES ('2026-12-01', 'Stationery', -1500)")));
    QVERIFY(q.lastInsertId().toLongLong() >= 1);
}

void TestSchema::formerTablesKeepRepeatedNumbers()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO FormerStudent (Number, Surname) VALUES ('S1', 'A')")));
    QVERIFY(q.exec(QStringLiteral("INSERT INTO FormerStudent (Number, Surname) VALUES ('S1', 'B')")));
    QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM FormerStudent WHERE Number = 's1'")) && q.next());
    QCOMPARE(q.value(0).toInt(), 2);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
