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
    void cleanupTestCase() { Database::close(QStringLiteral("schema")); }
    void formerTablesMatch_data();
    void formerTablesMatch();
    void rules_data();
    void rules();
    void feesHaveEveryLevel();

private:
    QTemporaryDir m_dir;
    QSqlDatabase db() { return QSqlDatabase::database(QStringLiteral("schema")); }
};

void TestSchema::initTestCase()
{
    const QString file = m_dir.path() + QStringLiteral("/Kolvane.db");
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_EMPTY_DB_FILE), file));
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(Database::open(file, QStringLiteral("schema")).isOpen());
}

void TestSchema::formerTablesMatch_data()
{
    QTest::addColumn<QString>("live");
    QTest::newRow("students") << "Student";
    QTest::newRow("staff") << "Staff";
}

// The transfer to the former tables copies positionally.
void TestSchema::formerTablesMatch()
{
    QFETCH(QString, live);
    const QString former = QStringLiteral("Former") + live;
    QSqlQuery q(db());
    auto columns = [&q](const QString &table) { // "name type" in order
        QStringList cols;
        q.exec(QStringLiteral("SELECT name, type FROM pragma_table_info('%1') ORDER BY cid").arg(table));
        while (q.next())
            cols.append(q.value(0).toString() + u' ' + q.value(1).toString());
        return cols;
    };
    QVERIFY(!columns(live).isEmpty());
    QCOMPARE(columns(former), columns(live));
}

// Each statement runs in a transaction rolled back afterwards.
void TestSchema::rules_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("error"); // part of the engine's words; empty: accepted
    const QString real = QStringLiteral("cannot store TEXT value in REAL column");
    QTest::newRow("payable refuses text")
        << "INSERT INTO Student (Number, Amount_Payable) VALUES ('T-1', '12abc')" << real;
    QTest::newRow("salary refuses text")
        << "INSERT INTO Staff (Number, Monthly_Salary) VALUES ('T-1', '12abc')" << real;
    QTest::newRow("price refuses text")
        << "INSERT INTO Stock (Number, Last_Purchase_Price) VALUES ('T-1', '12abc')" << real;
    QTest::newRow("fee refuses text") << "INSERT INTO Fees (Class_Level, Tuition) VALUES ('T-1', '12abc')" << real;
    // Numbers are compared without letter case, in finds as in keys.
    QTest::newRow("number unique whatever the case")
        << "INSERT INTO Staff (Number) VALUES ('st-07a'), ('ST-07A')" << "UNIQUE";
    // A number sent to the alumni twice keeps both rows.
    QTest::newRow("former student twice") << "INSERT INTO FormerStudent (Number) VALUES ('S1'), ('S1')" << "";
    QTest::newRow("former staff twice") << "INSERT INTO FormerStaff (Number) VALUES ('S1'), ('S1')" << "";
}

void TestSchema::rules()
{
    QFETCH(QString, statement);
    QFETCH(QString, error);
    QVERIFY(db().transaction());
    auto rollback = qScopeGuard([this] { db().rollback(); });
    QSqlQuery q(db());
    QCOMPARE(q.exec(statement), error.isEmpty());
    QVERIFY2(q.lastError().text().contains(error), qPrintable(q.lastError().text()));
}

// Fees can be revised and billed from the first run.
void TestSchema::feesHaveEveryLevel()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM Fees")));
    QCOMPARE(q.record().count(), 21);
    QStringList levels;
    for (; q.next(); levels << q.value(0).toString())
        for (int i = 1; i <= 20; ++i)
            QCOMPARE(q.value(i), QVariant(0.0));
    QCOMPARE(levels.size(), 19);
    QVERIFY(levels.contains(QStringLiteral("KinderGarten1")) && levels.contains(QStringLiteral("Secondary8")));
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
