#include "Modal.h"
#include "TestProgram.h"
#include "classes/SelectFees.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

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
    void levelWithBlanksFindsItsRow();
    void emptyLevelRefusesOk();
    void cancelChangesNothing();
    void negativeCustomCannotBeLeft();
    void everyWayOfTickingTogglesOnce_data();
    void everyWayOfTickingTogglesOnce();

private:
    std::unique_ptr<TestProgram> p;
    FakeRecord record;
    std::unique_ptr<SelectFees> form;
    void setFee(const QString &level, const QString &column, double amount)
    {
        QSqlQuery q(p->state->db());
        q.prepare(QStringLiteral("UPDATE Fees SET ") + column + QStringLiteral(" = ? WHERE Class_Level = ?"));
        q.addBindValue(amount);
        q.addBindValue(level);
        QVERIFY(q.exec());
    }
    void prepare()
    {
        form->MyActivate();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void tick(const QString &name)
    {
        auto *list = form->findChild<QListWidget *>(QStringLiteral("lstFees"));
        QListWidgetItem *entry = list->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(entry).center());
    }
    QStringList ticked() const
    {
        QStringList names;
        auto *list = form->findChild<QListWidget *>(QStringLiteral("lstFees"));
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                names << list->item(i)->text();
        return names;
    }
    QLineEdit *custom() { return form->findChild<QLineEdit *>(QStringLiteral("txtCustom")); }
    void ok() { QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton); }
};

void TestSelectFees::init()
{
    p = std::make_unique<TestProgram>();
    p->prepareState();
    record = FakeRecord();
    setFee(QStringLiteral("Primary1"), QStringLiteral("Tuition"), 500);
    setFee(QStringLiteral("Primary1"), QStringLiteral("Sports"), 30);
    setFee(QStringLiteral("Primary1"), QStringLiteral("Books"), 250.5);
    setFee(QStringLiteral("Primary1"), QStringLiteral("Uniform"), 251.5);
    form = std::make_unique<SelectFees>(*p->state, record);
}

void TestSelectFees::cleanup()
{
    form.reset();
    p.reset();
}

void TestSelectFees::billComposed_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("customText");
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("payable");
    QTest::newRow("two items") << QStringList{"Tuition", "Sports"} << ""
                               << "Tuition = 500\r\nSports = 30\r\n" << "550";
    QTest::newRow("custom cents") << QStringList{"Tuition", "Sports"} << "12.345"
                                  << "Tuition = 500\r\nSports = 30\r\nCustom = 12.35" << "562";
    QTest::newRow("custom zero") << QStringList{"Tuition", "Sports"} << "0"
                                 << "Tuition = 500\r\nSports = 30\r\nCustom = 0" << "550";
    QTest::newRow("halves to even") << QStringList{"Books", "Uniform"} << ""
                                    << "Books = 250\r\nUniform = 252\r\n" << "522";
}

void TestSelectFees::billComposed()
{
    QFETCH(QStringList, items);
    QFETCH(QString, customText);
    QFETCH(QString, bill);
    QFETCH(QString, payable);
    prepare();
    QVERIFY(ticked().isEmpty());
    QCOMPARE(custom()->text(), QString());
    for (const QString &item : items)
        tick(item);
    if (!customText.isEmpty()) {
        custom()->setFocus();
        QTest::keyClicks(custom(), customText);
    }
    ok();
    QCOMPARE(record.bill, bill);
    QCOMPARE(record.payable, payable);
    QCOMPARE(record.balanceRecomputed, 1);
    QVERIFY(!form->isVisible());
    form->grab().save(QStringLiteral("/tmp/kolvane-selectfees.png"));
}

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

void TestSelectFees::levelWithBlanksFindsItsRow()
{
    record.level = QStringLiteral("  Primary1 ");
    prepare();
    QVERIFY(p->messages.shown.isEmpty());
    tick(QStringLiteral("Tuition"));
    ok();
    QCOMPARE(record.bill, QStringLiteral("Tuition = 500\r\n"));
}

// A level with no row bills nothing, not the last level's amounts.
void TestSelectFees::emptyLevelRefusesOk()
{
    prepare();
    record.level = QString();
    form->MyActivate();
    QCOMPARE(p->messages.texts(), QStringList{"No Fees found for "});
    QVERIFY(!form->hasAmounts());
    tick(QStringLiteral("Tuition"));
    ok();
    QCOMPARE(record.bill, QString());
    QCOMPARE(record.payable, QStringLiteral("untouched"));
    QVERIFY(form->isVisible());
}

void TestSelectFees::cancelChangesNothing()
{
    record.bill = QStringLiteral("Sports = 30\r\n");
    prepare();
    tick(QStringLiteral("Tuition"));
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    QCOMPARE(record.bill, QStringLiteral("Sports = 30\r\n"));
    QCOMPARE(record.payable, QStringLiteral("untouched"));
    QCOMPARE(record.balanceRecomputed, 0);
    QVERIFY(!form->isVisible());
}

void TestSelectFees::negativeCustomCannotBeLeft()
{
    prepare();
    custom()->setFocus();
    QTest::keyClicks(custom(), QStringLiteral("-5"));
    QTest::keyClick(custom(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), custom());
    ok();
    QCOMPARE(record.payable, QStringLiteral("untouched"));
    custom()->clear();
    QTest::keyClicks(custom(), QStringLiteral("1,500"));
    ok();
    QCOMPARE(record.payable, QStringLiteral("untouched"));
    custom()->clear();
    QTest::keyClicks(custom(), QStringLiteral("15"));
    ok();
    QCOMPARE(record.bill, QStringLiteral("Custom = 15"));
    QCOMPARE(record.payable, QStringLiteral("35"));
}

void TestSelectFees::everyWayOfTickingTogglesOnce_data()
{
    QTest::addColumn<QString>("ways"); // b: the tick box, n: the name, s: Space
    for (const char *way : {"b", "n", "s", "bb", "bns"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

void TestSelectFees::everyWayOfTickingTogglesOnce()
{
    QFETCH(QString, ways);
    prepare();
    auto *list = form->findChild<QListWidget *>(QStringLiteral("lstFees"));
    QListWidgetItem *entry = list->findItems(QStringLiteral("Sports"), Qt::MatchExactly).value(0);
    const QRect row = list->visualItemRect(entry);
    const QPoint box(row.left() + row.height() / 2, row.center().y()); // the tick box leads the row
    for (const QChar way : ways) {
        if (way == u's') {
            list->setCurrentItem(entry);
            QTest::keyClick(list, Qt::Key_Space);
        } else {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              way == u'b' ? box : row.center());
        }
    }
    QCOMPARE(ticked(), ways.size() % 2 ? QStringList{"Sports"} : QStringList{});
}

QTEST_MAIN(TestSelectFees)
#include "tst_selectfees.moc"
