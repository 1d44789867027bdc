#include "classes/Bill.h"

#include <QTest>

class TestBill : public QObject
{
    Q_OBJECT

private slots:
    void compose_data();
    void compose();
    void restore_data();
    void restore();
};

// Ticks as "x" (ticked) and "." for each item in list order.
static QList<bool> ticks(const char *marks)
{
    QList<bool> list;
    for (; *marks; ++marks)
        list.append(*marks == 'x');
    return list;
}

// The schedule's cells Tuition 250.5, Levy 119.5, Sports 10.49 and Building
// 1e12 are whole amounts on the bill (halves to even, held to 32 bits); the
// debt is added to the total for the amount payable.
void TestBill::compose_data()
{
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("debt");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("payable");
    QTest::newRow("two items, custom") << ticks("x.x.") << "25" << ""
                                       << "Tuition = 250\r\nSports = 10\r\nCustom = 25" << 285 << "285";
    QTest::newRow("nothing") << ticks("....") << "" << "" << "" << 0 << "0";
    QTest::newRow("custom words left out, debt added")
        << ticks(".x..") << "abc" << "100.5" << "Levy = 120\r\n" << 120 << "220.5";
    QTest::newRow("custom grouped left out, debt's leading number")
        << ticks("x...") << "1,500" << " 20abc" << "Tuition = 250\r\n" << 250 << "270";
    QTest::newRow("custom 250.5 to even, credit")
        << ticks("....") << "250.5" << "-40" << "Custom = 250.5" << 250 << "210";
    QTest::newRow("custom 251.5 to even") << ticks("....") << "251.5" << "" << "Custom = 251.5" << 252 << "252";
    QTest::newRow("custom cents rounded") << ticks("....") << "12.344" << "" << "Custom = 12.34" << 12 << "12";
    QTest::newRow("custom zero written") << ticks("....") << "0" << "" << "Custom = 0" << 0 << "0";
    QTest::newRow("custom trailing zeros") << ticks("....") << "12.50" << "" << "Custom = 12.5" << 12 << "12";
    QTest::newRow("beyond 32 bits held") << ticks("...x") << "25" << ""
                                         << "Building = 2147483647\r\nCustom = 25" << 2147483647 << "2147483647";
}

void TestBill::compose()
{
    QFETCH(QList<bool>, ticked);
    QFETCH(QString, custom);
    QFETCH(QString, debt);
    QFETCH(QString, text);
    QFETCH(int, total);
    QFETCH(QString, payable);
    const QStringList names{"Tuition", "Levy", "Sports", "Building"};
    QList<qint32> amounts;
    for (double cell : {250.5, 119.5, 10.49, 1e12})
        amounts.append(Bill::wholeAmount(cell));
    const Bill::Composed bill = Bill::compose(names, amounts, ticked, custom);
    QCOMPARE(bill.text, text);
    QCOMPARE(bill.total, total);
    QCOMPARE(Bill::payableText(bill.total, debt), payable);
    // Opened again, the same items are ticked.
    QCOMPARE(Bill::ticksFrom(bill.text, names), ticked);
}

void TestBill::restore_data()
{
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QList<bool>>("ticked"); // Tuition, Levy, Sports, Library
    QTest::addColumn<QString>("custom");
    QTest::newRow("items and custom") << "Tuition = 500\r\nSports = 30\r\nCustom = 25" << ticks("x.x.") << "25";
    QTest::newRow("levy ticked by a longer name") << "Development Levy = 120\r\n" << ticks(".x..") << "";
    QTest::newRow("case matters") << "tuition = 500\r\n" << ticks("....") << "";
    QTest::newRow("custom not last line") << "Custom = 5\r\nSports = 30\r\n" << ticks("..x.") << "";
    QTest::newRow("custom without equals") << "Custom 25" << ticks("....") << "";
    QTest::newRow("custom blanks trimmed") << "Custom =   7.5 " << ticks("....") << "7.5";
    QTest::newRow("empty bill") << "" << ticks("....") << "";
}

void TestBill::restore()
{
    QFETCH(QString, bill);
    QFETCH(QList<bool>, ticked);
    QFETCH(QString, custom);
    const QStringList names{"Tuition", "Levy", "Sports", "Library"};
    QCOMPARE(Bill::ticksFrom(bill, names), ticked);
    QCOMPARE(Bill::customFrom(bill), custom);
}

QTEST_GUILESS_MAIN(TestBill)
#include "tst_bill.moc"
