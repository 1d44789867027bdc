#include "classes/Bill.h"

#include <QTest>

class TestBill : public QObject {
    Q_OBJECT

private slots:
    void compose_data();
    void compose();
    void wholeAmount_data();
    void wholeAmount();
    void restore_data();
    void restore();
    void payable_data();
    void payable();
};

void TestBill::compose_data() {
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("total");

    QTest::newRow("two items and custom")
        << QList<bool>{true, false, true} << "25" << "Tuition = 500\r\nSports = 30\r\nCustom = 25" << 555;
    QTest::newRow("nothing ticked, no custom") << QList<bool>{false, false, false} << "" << "" << 0;
    QTest::newRow("custom not a number left out")
        << QList<bool>{false, true, false} << "abc" << "Levy = 120\r\n" << 120;
    QTest::newRow("grouped custom left out") << QList<bool>{true, false, false} << "1,500" << "Tuition = 500\r\n" << 500;
    QTest::newRow("custom halves to even total")
        << QList<bool>{false, false, false} << "250.5" << "Custom = 250.5" << 250;
    QTest::newRow("custom 251.5 rounds up") << QList<bool>{false, false, false} << "251.5" << "Custom = 251.5" << 252;
    QTest::newRow("custom cents rounded") << QList<bool>{false, false, false} << "12.344" << "Custom = 12.34" << 12;
    QTest::newRow("custom zero written") << QList<bool>{false, false, false} << "0" << "Custom = 0" << 0;
    QTest::newRow("custom trailing zeros dropped") << QList<bool>{false, false, false} << "12.50" << "Custom = 12.5" << 12;
}

void TestBill::compose() {
    QFETCH(QList<bool>, ticked);
    QFETCH(QString, custom);
    QFETCH(QString, text);
    QFETCH(int, total);
    const QStringList names{"Tuition", "Levy", "Sports"};
    const QList<qint32> amounts{500, 120, 30};
    const Bill::Composed bill = Bill::compose(names, amounts, ticked, custom);
    QCOMPARE(bill.text, text);
    QCOMPARE(bill.total, total);
}

void TestBill::wholeAmount_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("whole");
    QTest::newRow("250.5 to even") << 250.5 << 250;
    QTest::newRow("251.5 to even") << 251.5 << 252;
    QTest::newRow("12500") << 12500.0 << 12500;
    QTest::newRow("just under half") << 10.49 << 10;
    QTest::newRow("beyond 32 bits held") << 1e12 << 2147483647;
}

void TestBill::wholeAmount() {
    QFETCH(double, value);
    QFETCH(int, whole);
    QCOMPARE(Bill::wholeAmount(value), whole);
}

void TestBill::restore_data() {
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QList<bool>>("ticks");
    QTest::addColumn<QString>("custom");
    QTest::newRow("items and custom")
        << "Tuition = 500\r\nSports = 30\r\nCustom = 25" << QList<bool>{true, false, true, false} << "25";
    QTest::newRow("levy ticked by a longer name")
        << "Development Levy = 120\r\n" << QList<bool>{false, true, false, false} << "";
    QTest::newRow("case matters") << "tuition = 500\r\n" << QList<bool>{false, false, false, false} << "";
    QTest::newRow("custom not last line") << "Custom = 5\r\nSports = 30\r\n"
                                          << QList<bool>{false, false, true, false} << "";
    QTest::newRow("custom without equals") << "Custom 25" << QList<bool>{false, false, false, false} << "";
    QTest::newRow("custom blanks trimmed") << "Custom =   7.5 " << QList<bool>{false, false, false, false} << "7.5";
    QTest::newRow("empty bill") << "" << QList<bool>{false, false, false, false} << "";
}

void TestBill::restore() {
    QFETCH(QString, bill);
    QFETCH(QList<bool>, ticks);
    QFETCH(QString, custom);
    const QStringList names{"Tuition", "Levy", "Sports", "Library"};
    QCOMPARE(Bill::ticksFrom(bill, names), ticks);
    QCOMPARE(Bill::customFrom(bill), custom);
}

void TestBill::payable_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("debt");
    QTest::addColumn<QString>("payable");
    QTest::newRow("no debt") << 555 << "" << "555";
    QTest::newRow("debt added") << 555 << "100.5" << "655.5";
    QTest::newRow("leading number of debt") << 10 << " 20abc" << "30";
    QTest::newRow("credit lowers payable") << 100 << "-40" << "60";
}

void TestBill::payable() {
    QFETCH(int, total);
    QFETCH(QString, debt);
    QFETCH(QString, payable);
    QCOMPARE(Bill::payableText(total, debt), payable);
}

QTEST_GUILESS_MAIN(TestBill)
#include "tst_bill.moc"
