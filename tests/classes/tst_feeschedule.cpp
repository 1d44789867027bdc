#include "classes/FeeSchedule.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

class TestFeeSchedule : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void itemNames_data();
    void itemNames();
    void amountsFor_data();
    void amountsFor();

private:
    void makeTable(int items);
    QSqlDatabase m_db;
};

void TestFeeSchedule::init() {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fees"));
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(m_db.open());
}

void TestFeeSchedule::cleanup() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fees"));
}

void TestFeeSchedule::makeTable(int items) {
    QString columns = QStringLiteral("Class_Level TEXT");
    for (int i = 1; i <= items; ++i)
        columns += QStringLiteral(", Item_%1 REAL").arg(i);
    QSqlQuery query(m_db);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE Fees (%1)").arg(columns)));
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO Fees (Class_Level, Item_1) VALUES (?, ?)")));
    const QList<QPair<QString, double>> rows{{"JSS 1", 250.5}, {"SSS 2", 251.5}, {"O'Level", 7}};
    for (const auto &[level, amount] : rows) {
        query.addBindValue(level);
        query.addBindValue(amount);
        QVERIFY(query.exec());
    }
}

void TestFeeSchedule::itemNames_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("names");
    QTest::newRow("twenty") << 20 << 20;
    QTest::newRow("fewer") << 5 << 5;
    QTest::newRow("more ignored") << 23 << 20;
}

void TestFeeSchedule::itemNames() {
    QFETCH(int, columns);
    QFETCH(int, names);
    makeTable(columns);
    const QStringList got = FeeSchedule(m_db).itemNames();
    QCOMPARE(got.size(), names);
    QCOMPARE(got.constFirst(), QStringLiteral("Item_1"));
    QCOMPARE(got.constLast(), QStringLiteral("Item_%1").arg(names));
}

void TestFeeSchedule::amountsFor_data() {
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("first");
    QTest::newRow("exact") << "JSS 1" << true << 250.5;
    QTest::newRow("blanks around") << "  SSS 2 " << true << 251.5;
    QTest::newRow("quote in level is data") << "O'Level" << true << 7.0;
    QTest::newRow("empty") << "   " << false << 0.0;
    QTest::newRow("unknown") << "JSS 9" << false << 0.0;
}

void TestFeeSchedule::amountsFor() {
    QFETCH(QString, level);
    QFETCH(bool, found);
    QFETCH(double, first);
    makeTable(20);
    const auto amounts = FeeSchedule(m_db).amountsFor(level);
    QCOMPARE(amounts.has_value(), found);
    if (found) {
        QCOMPARE(amounts->size(), 20);
        QCOMPARE(amounts->constFirst(), first);
        QCOMPARE(amounts->constLast(), 0.0);
    }
}

QTEST_GUILESS_MAIN(TestFeeSchedule)
#include "tst_feeschedule.moc"
