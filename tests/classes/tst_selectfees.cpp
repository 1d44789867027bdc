#include "TestProgram.h"
#include "Widgets.h"
#include "classes/SelectFees.h"

#include <QApplication>
#include <QSqlQuery>

namespace {

// The record form's side of a bill, as plain values.
struct FakeRecord : BillTarget
{
    QString level = QStringLiteral("Primary1");
    QString bill;
    QString debt = QStringLiteral("20");
    QString payable = QStringLiteral("untouched");
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
    void init();
    void cleanup();

    void billComposed_data();
    void billComposed();
    void billingAgainRestoresTicksAndCustom();
    void emptyLevelRefusesOk();
    void everyWayOfTickingTogglesOnce_data();
    void everyWayOfTickingTogglesOnce();

private:
    std::unique_ptr<TestProgram> p;
    FakeRecord record;
    std::unique_ptr<SelectFees> form;
    void prepare()
    {
        form->MyActivate();
        QVERIFY(showActive(form.get()));
    }
    QListWidget *list() const { return widget<QListWidget>(form.get(), "lstFees"); }
    void tick(const char *name) { clickLine(list(), QLatin1String(name)); }
    QStringList ticked() const { return lines(list(), true); }
    QLineEdit *custom() { return widget<QLineEdit>(form.get(), "txtCustom"); }
    void ok() { click(form.get(), "cmdOK"); }
};

void TestSelectFees::init()
{
    p = std::make_unique<TestProgram>();
    p->prepareState();
    record = FakeRecord();
    QVERIFY(QSqlQuery(p->state->db())
                .exec(QStringLiteral("UPDATE Fees SET Tuition = 500, Sports = 30, Books = 250.5, "
                                     "Uniform = 251.5 WHERE Class_Level = 'Primary1'")));
    form = std::make_unique<SelectFees>(*p->state, record);
}

void TestSelectFees::cleanup()
{
    form.reset();
    p.reset();
}

void TestSelectFees::billComposed_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("customText"); // each of "|"-parted texts typed, then OK
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("payable");
    const QStringList ts = {"Tuition", "Sports"};
    QTest::newRow("two items") << "Primary1" << ts << "" << "Tuition = 500\r\nSports = 30\r\n" << "550";
    QTest::newRow("custom cents") << "Primary1" << ts << "12.345"
                                  << "Tuition = 500\r\nSports = 30\r\nCustom = 12.35" << "562";
    QTest::newRow("custom zero") << "Primary1" << ts << "0"
                                 << "Tuition = 500\r\nSports = 30\r\nCustom = 0" << "550";
    QTest::newRow("halves to even") << "Primary1" << QStringList{"Books", "Uniform"} << ""
                                    << "Books = 250\r\nUniform = 252\r\n" << "522";
    // Below zero or not a whole number, the custom amount holds and OK bills nothing.
    QTest::newRow("custom refused, then whole")
        << "Primary1" << QStringList{} << "-5|1,500|15" << "Custom = 15" << "35";
    QTest::newRow("level with blanks finds its row")
        << "  Primary1 " << QStringList{"Tuition"} << "" << "Tuition = 500\r\n" << "520";
}

void TestSelectFees::billComposed()
{
    QFETCH(QString, level);
    QFETCH(QStringList, items);
    QFETCH(QString, customText);
    QFETCH(QString, bill);
    QFETCH(QString, payable);
    record.level = level;
    prepare();
    QVERIFY(ticked().isEmpty());
    QCOMPARE(custom()->text(), QString());
    for (const QString &item : items)
        clickLine(list(), item);
    grabPng(form.get());
    for (const QString &typed : customText.split(u'|')) {
        custom()->setFocus();
        custom()->clear();
        QTest::keyClicks(custom(), typed);
        ok();
    }
    QCOMPARE(record.bill, bill);
    QCOMPARE(record.payable, payable);
    QCOMPARE(record.balanceRecomputed, 1);
    QVERIFY(!form->isVisible());
    QVERIFY(p->messages.shown.isEmpty());
}

// Billing again shows the last bill's ticks and custom amount (a cancelled selection is
// the record form's test).
void TestSelectFees::billingAgainRestoresTicksAndCustom()
{
    record.bill = QStringLiteral("Tuition = 500\r\nSports = 30\r\nCustom = 25");
    prepare();
    QCOMPARE(ticked(), (QStringList{"Tuition", "Sports"}));
    QCOMPARE(custom()->text(), QStringLiteral("25"));
    // After a bill without a custom amount the box comes up empty.
    record.bill = QStringLiteral("Tuition = 500\r\n");
    prepare();
    QCOMPARE(ticked(), QStringList{"Tuition"});
    QCOMPARE(custom()->text(), QString());
}

// A level with no row bills nothing, not the last level's amounts.
void TestSelectFees::emptyLevelRefusesOk()
{
    prepare();
    record.level = QString();
    form->MyActivate();
    QCOMPARE(p->messages.texts(), QStringList{"No Fees found for "});
    QVERIFY(!form->hasAmounts());
    tick("Tuition");
    ok();
    QCOMPARE(record.bill, QString());
    QCOMPARE(record.payable, QStringLiteral("untouched"));
    QVERIFY(form->isVisible());
}

void TestSelectFees::everyWayOfTickingTogglesOnce_data()
{
    QTest::addColumn<QString>("ways"); // b: the tick box, n: the name, s: Space
    for (const char *way : {"b", "n", "s", "bns"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

void TestSelectFees::everyWayOfTickingTogglesOnce()
{
    QFETCH(QString, ways);
    prepare();
    QListWidgetItem *entry = list()->findItems(QStringLiteral("Sports"), Qt::MatchExactly).value(0);
    const QRect row = list()->visualItemRect(entry);
    const QPoint box(row.left() + row.height() / 2, row.center().y()); // the tick box leads the row
    for (const QChar way : ways) {
        if (way == u's') {
            list()->setCurrentItem(entry);
            QTest::keyClick(list(), Qt::Key_Space);
        } else {
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, way == u'b' ? box : row.center());
        }
    }
    QCOMPARE(ticked(), ways.size() % 2 ? QStringList{"Sports"} : QStringList{});
}

QTEST_MAIN(TestSelectFees)
#include "tst_selectfees.moc"
