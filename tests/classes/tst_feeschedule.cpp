#include "classes/FeeSchedule.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

class TestFeeSchedule : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

// A table of `columns` items, JSS 1 at 250.5, SSS 2 at 251.5 and O'Level at 7
// in the first; items past the twentieth are not the schedule's.
void TestFeeSchedule::read_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("level");
    QTest::addColumn<double>("first"); // -1: no row
    QTest::newRow("twenty, exact") << 20 << "JSS 1" << 250.5;
    QTest::newRow("fewer, blanks around") << 5 << "  SSS 2 " << 251.5;
    QTest::newRow("more ignored, quote in level is data") << 23 << "O'Level" << 7.0;
    QTest::newRow("empty") << 20 << "   " << -1.0;
    QTest::newRow("unknown") << 20 << "JSS 9" << -1.0;
}

void TestFeeSchedule::read()
{
    QFETCH(int, columns);
    QFETCH(QString, level);
    QFETCH(double, first);
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fees"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(db.open());
    QString items = QStringLiteral("Class_Level TEXT");
    for (int i = 1; i <= columns; ++i)
        items += QStringLiteral(", Item_%1 REAL").arg(i);
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE Fees (%1)").arg(items)));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO Fees (Class_Level, Item_1) VALUES "
                                      "('JSS 1', 250.5), ('SSS 2', 251.5), ('O''Level', 7)")));

    const int names = std::min(columns, 20);
    const QStringList got = FeeSchedule(db).itemNames();
    QCOMPARE(got.size(), names);
    QCOMPARE(got.constFirst(), QStringLiteral("Item_1"));
    QCOMPARE(got.constLast(), QStringLiteral("Item_%1").arg(names));
    const auto amounts = FeeSchedule(db).amountsFor(level);
    QCOMPARE(amounts.has_value(), first >= 0);
    if (amounts) {
        QCOMPARE(amounts->size(), names);
        QCOMPARE(amounts->constFirst(), first);
        QCOMPARE(amounts->constLast(), 0.0);
    }
    query = QSqlQuery();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fees"));
}

QTEST_GUILESS_MAIN(TestFeeSchedule)
#include "tst_feeschedule.moc"
