#include "records/StudentMoney.h"

#include <QTest>

// The money rules of a student's row, without the form.
class TestStudentMoney : public QObject
{
    Q_OBJECT
private slots:
    void payableMovesByTheDebtTyped_data();
    void payableMovesByTheDebtTyped();
    void boxTexts_data();
    void boxTexts();
};

void TestStudentMoney::payableMovesByTheDebtTyped_data()
{
    QTest::addColumn<QString>("remembered"); // the debt when its box was entered
    QTest::addColumn<QString>("debt");       // as it is left
    QTest::addColumn<QString>("payable");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QString>("newPayable");
    QTest::addColumn<QString>("balance");
    QTest::newRow("unchanged") << "200" << "200" << "1700" << "500" << "1700" << "-1200";
    QTest::newRow("unchanged decimals") << "100.5" << "100.5" << "1700" << "500" << "1700" << "-1200";
    QTest::newRow("credit") << "200" << "-300" << "1700" << "500" << "1200" << "-700";
    QTest::newRow("decimal change") << "100.5" << "101" << "1700" << "500" << "1700.5" << "-1200.5";
    QTest::newRow("was empty") << "" << "300" << "" << "" << "300" << "-300";
    QTest::newRow("paid over") << "0" << "0" << "30" << "1 000" << "30" << "970";
    QTest::newRow("no float noise") << "0.1" << "0.3" << "0.1" << "0" << "0.3" << "-0.3";
}

void TestStudentMoney::payableMovesByTheDebtTyped()
{
    QFETCH(QString, remembered);
    QFETCH(QString, debt);
    QFETCH(QString, payable);
    QFETCH(QString, paid);
    QFETCH(QString, newPayable);
    QFETCH(QString, balance);
    StudentMoney money;
    money.rememberDebt(QStringLiteral("999")); // only the last remembered counts
    money.rememberDebt(remembered);
    QCOMPARE(money.payableAfterDebt(debt, payable), newPayable);
    QCOMPARE(StudentMoney::balance(paid, newPayable), balance);
}

void TestStudentMoney::boxTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("debt");
    QTest::addColumn<bool>("amount");
    QTest::newRow("whole") << "1500" << true << true;
    QTest::newRow("zero") << "0" << true << true;
    QTest::newRow("negative") << "-300" << true << false;
    QTest::newRow("exponent") << "1.5e3" << true << true;
    QTest::newRow("blanks around") << " 12.5 " << true << true;
    QTest::newRow("spaced digits") << "1 500" << true << true;
    QTest::newRow("grouped") << "1,500" << false << false;
    QTest::newRow("letters") << "abc" << false << false;
    QTest::newRow("trailing letters") << "12abc" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TestStudentMoney::boxTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, debt);
    QFETCH(bool, amount);
    QCOMPARE(StudentMoney::isDebt(text), debt);
    QCOMPARE(StudentMoney::isAmount(text), amount);
}

QTEST_GUILESS_MAIN(TestStudentMoney)
#include "tst_studentmoney.moc"
