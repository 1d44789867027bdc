#include "accounts/LedgerText.h"
#include "platform/Numbers.h"

#include <QTest>

// Amounts to the cent as the operator wrote them, and the totals' text.
class TestLedgerText : public QObject
{
    Q_OBJECT
private slots:
    void cents_data();
    void cents();
    void totalsAddToTheCent();
};

void TestLedgerText::cents_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("acceptable");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("shown"); // as the box and the list write it
    QTest::newRow("half below in binary") << "12.345" << true << qint64(1235) << "12.35";
    QTest::newRow("below half") << "12.344" << true << qint64(1234) << "12.34";
    QTest::newRow("half cent") << "0.005" << true << qint64(1) << "0.01";
    QTest::newRow("above single precision") << "1234567.89" << true << qint64(123456789)
                                            << "1234567.89";
    QTest::newRow("large half") << "1234567.885" << true << qint64(123456789) << "1234567.89";
    QTest::newRow("blanks around") << " 25.5 " << true << qint64(2550) << "25.5";
    QTest::newRow("zero") << "0" << true << qint64(0) << "0";
    QTest::newRow("negative") << "-40" << false << qint64(-4000) << "-40";
    QTest::newRow("grouped") << "1,500" << false << qint64(100) << "1";
    QTest::newRow("letters") << "abc" << false << qint64(0) << "0";
    QTest::newRow("empty") << "" << false << qint64(0) << "0";
    QTest::newRow("too large") << "1e13" << false << qint64(1000000000000000) << "10000000000000";
}

void TestLedgerText::cents()
{
    QFETCH(QString, typed);
    QFETCH(bool, acceptable);
    QFETCH(qint64, cents);
    QFETCH(QString, shown);
    QCOMPARE(LedgerText::acceptableAmount(typed), acceptable);
    const qint64 got = LedgerText::centsOf(Numbers::readNumber(typed));
    QCOMPARE(got, cents);
    QCOMPARE(LedgerText::plainAmount(got), shown);
}

void TestLedgerText::totalsAddToTheCent()
{
    LedgerTotals totals;
    // Ten dimes make a whole unit, which adding doubles does not.
    for (int i = 0; i < 10; ++i)
        totals.add(LedgerText::centsOf(0.1));
    for (double amount : {-40.0, 0.0, -1234567.89})
        totals.add(LedgerText::centsOf(amount));
    QCOMPARE(totals.otherIncome, qint64(100));
    QCOMPARE(totals.purchases, qint64(123460789));
    QCOMPARE(LedgerText::total(LedgerText::amountOf(totals.purchases)),
             QStringLiteral("1,234,607.89"));
    totals.remove(LedgerText::centsOf(-40));
    totals.remove(LedgerText::centsOf(1));
    QCOMPARE(totals.otherIncome, qint64(0));
    QCOMPARE(totals.purchases, qint64(123456789));
}

QTEST_APPLESS_MAIN(TestLedgerText)
#include "tst_ledgertext.moc"
