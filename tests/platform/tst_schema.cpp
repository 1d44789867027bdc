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
    void numberColumnsRefuseText_data();
    void numberColumnsRefuseText();
    void numberLookupIgnoresCase();
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

    // A number sent to the alumni twice keeps both rows.
    QVERIFY(db().transaction());
    auto rollback = qScopeGuard([this] { db().rollback(); });
    for (int i = 0; i < 2; ++i)
        QVERIFY2(q.exec(QStringLiteral("INSERT INTO %1 (Number) VALUES ('S1')").arg(former)),
                 qPrintable(q.lastError().text()));
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
    const QString key = table == QStringLiteral("Fees") ? QStringLiteral("Class_Level") : QStringLiteral("Number");
    QSqlQuery q(db());
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES ('T-1', '12abc')").arg(table, key, column)));
    QVERIFY2(q.lastError().text().contains(QStringLiteral("cannot store TEXT value in REAL column")),
             qPrintable(q.lastError().text()));
}

void TestSchema::numberLookupIgnoresCase()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Staff (Number, Surname) VALUES ('st-07a', 'Okafor')")));
    QVERIFY(q.exec(QStringLiteral("SELECT Surname FROM Staff WHERE Number = 'ST-07A'")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Okafor"));
    // Unique regardless of letter case.
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO Staff (Number) VALUES ('ST-07A')")));
}

// Fees can be revised and billed from the first run.
void TestSchema::feesHaveEveryLevel()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("SELECT * FROM Fees")));
    QCOMPARE(q.record().count(), 21);
    QCOMPARE(q.record().fieldName(0), QStringLiteral("Class_Level"));
    QStringList levels;
    for (; q.next(); levels << q.value(0).toString())
        for (int i = 1; i <= 20; ++i)
            QCOMPARE(q.value(i), QVariant(0.0));
    QCOMPARE(levels.size(), 19);
    QVERIFY(levels.contains(QStringLiteral("KinderGarten1")) && levels.contains(QStringLiteral("Secondary8")));
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
