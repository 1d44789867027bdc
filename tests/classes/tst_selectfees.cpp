#include "TestProgram.h"
#include "Widgets.h"
#include "classes/SelectFees.h"

#include <QSqlQuery>

namespace {

// The record form's side of a bill, as plain values.
struct FakeRecord : BillTarget
{
    QString level;
    QString bill;
    QString debt = QStringLiteral("20");
    QString payable;
    int balanceRecomputed = 0;
    QString classLevelText() const override { return level; }
    QString billText() const override { return bill; }
    void setBillText(const QString &text) override { bill = text; }
    QString debtText() const override { return debt; }
    void setPayableText(const QString &text) override { payable = text; }
    void payableLostFocus() override { ++balanceRecomputed; }
};

} // namespace

class TestSelectFees : public QObject
{
    Q_OBJECT
private slots:
    void billThenBillAgain();
};

// The bill goes back to the record with the debt added; billing again shows the last bill's
// ticks and custom amount (a cancelled selection is the record form's test).
void TestSelectFees::billThenBillAgain()
{
    TestProgram p;
    p.prepareState();
    QVERIFY(QSqlQuery(p.state->db())
                .exec(QStringLiteral("UPDATE Fees SET Tuition = 500, Sports = 30, Books = 250.5, "
                                     "Uniform = 251.5 WHERE Class_Level = 'Primary1'")));
    FakeRecord record;
    record.level = QStringLiteral("  Primary1 "); // blanks around still find the row
    SelectFees form(*p.state, record);
    auto *list = widget<QListWidget>(&form, "lstFees");
    auto *custom = widget<QLineEdit>(&form, "txtCustom");
    auto prepare = [&form] {
        form.MyActivate();
        QVERIFY(showActive(&form));
    };
    auto ok = [&form, custom](const QString &customText) {
        custom->setFocus();
        custom->clear();
        QTest::keyClicks(custom, customText);
        click(&form, "cmdOK");
    };
    prepare();
    QVERIFY(lines(list, true).isEmpty());
    QCOMPARE(custom->text(), QString());

    // The tick box, the name and Space each toggle the tick exactly once.
    QListWidgetItem *books = list->findItems(QStringLiteral("Books"), Qt::MatchExactly).value(0);
    const QRect row = list->visualItemRect(books);
    const QPoint box(row.left() + row.height() / 2, row.center().y()); // the tick box leads
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box);
    QVERIFY2(lines(list, true) == QStringList{"Books"}, "the tick box");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QVERIFY2(lines(list, true).isEmpty(), "the name");
    list->setCurrentItem(books);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY2(lines(list, true) == QStringList{"Books"}, "Space");
    // The schedule's halves go to even on the bill.
    clickLine(list, QStringLiteral("Uniform"));
    grabPng(&form);
    // Below zero or not a whole number, the custom amount holds and OK bills nothing.
    for (const QString &refused : {QStringLiteral("-5"), QStringLiteral("1,500")}) {
        ok(refused);
        QVERIFY2(form.isVisible() && record.bill.isEmpty(), qPrintable(refused));
    }
    ok(QStringLiteral("12.345"));
    QCOMPARE(record.bill, QStringLiteral("Books = 250\r\nUniform = 252\r\nCustom = 12.35"));
    QCOMPARE(record.payable, QStringLiteral("534"));
    QCOMPARE(record.balanceRecomputed, 1);
    QVERIFY(!form.isVisible());

    prepare();
    QCOMPARE(lines(list, true), (QStringList{"Books", "Uniform"}));
    QCOMPARE(custom->text(), QStringLiteral("12.35"));
    clickLine(list, QStringLiteral("Uniform"));
    clickLine(list, QStringLiteral("Tuition"));
    ok(QStringLiteral("0")); // a custom 0 is billed
    QCOMPARE(record.bill, QStringLiteral("Tuition = 500\r\nBooks = 250\r\nCustom = 0"));
    QCOMPARE(record.payable, QStringLiteral("770"));

    prepare();
    ok(QString()); // none
    const QString bill = QStringLiteral("Tuition = 500\r\nBooks = 250\r\n");
    QCOMPARE(record.bill, bill);
    QCOMPARE(record.balanceRecomputed, 3);
    prepare();
    QCOMPARE(lines(list, true), (QStringList{"Tuition", "Books"}));
    QCOMPARE(custom->text(), QString());
    QVERIFY(p.messages.shown.isEmpty());

    // A level with no row bills nothing, not the last level's amounts.
    record.level = QString();
    form.MyActivate();
    QCOMPARE(p.messages.texts(), QStringList{"No Fees found for "});
    QVERIFY(!form.hasAmounts());
    clickLine(list, QStringLiteral("Sports"));
    click(&form, "cmdOK");
    QCOMPARE(record.bill, bill);
    QCOMPARE(record.balanceRecomputed, 3);
    QVERIFY(form.isVisible());
}

QTEST_MAIN(TestSelectFees)
#include "tst_selectfees.moc"
