#include "TestProgram.h"
#include "Widgets.h"
#include "classes/ReviseFees.h"

#include <QApplication>
#include <QLabel>
#include <QSqlQuery>

// The fee schedule editor driven as an operator would, then the table read.
class TestReviseFees : public QObject
{
    Q_OBJECT
private slots:
    void typedAmountsReachTheTable();
};

// An amount that does not read whole is reported and keeps the operator on the row, in the
// box, nothing written. Amounts are shown with separators once the row is left; an emptied
// amount is 0; a box left alone keeps its stored amount to the last decimal. The caption
// follows the row; Close writes the row.
void TestReviseFees::typedAmountsReachTheTable()
{
    TestProgram p;
    p.prepareState();
    QSqlQuery q(p.state->db());
    QVERIFY(q.exec(QStringLiteral("UPDATE Fees SET Development_Levy = 40, Sports = 251.499")));
    QVERIFY(q.exec(
        QStringLiteral("UPDATE Fees SET Class_Level = '' WHERE Class_Level = 'KinderGarten2'")));
    const QString level = QStringLiteral("KinderGarten1");
    auto stored = [&p, &level](const char *column) {
        QSqlQuery q(p.state->db());
        q.prepare(QStringLiteral("SELECT %1 FROM Fees WHERE Class_Level = ?").arg(column));
        q.addBindValue(level);
        return q.exec() && q.next() ? q.value(0) : QVariant(QStringLiteral("<none>"));
    };
    ReviseFees form(*p.state);
    QVERIFY(showActive(&form));
    auto box = [&form](int i) {
        return widget<QLineEdit>(&form, QStringLiteral("txtReviseFees(%1)").arg(i));
    };
    QCOMPARE(box(0)->text(), QStringLiteral("0.00"));
    retype(box(0), QStringLiteral("a lot"));
    click(&form, "cmdNext");
    QCOMPARE(p.messages.shown.size(), 1);
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for KinderGarten1"));
    QCOMPARE(QApplication::focusWidget(), box(0));
    QCOMPARE(stored("Tuition").toDouble(), 0.0);

    retype(box(0), QStringLiteral("12,500.5"));
    retype(box(1), QString());
    QTest::keyClick(box(1), Qt::Key_Delete);
    click(&form, "cmdNext");
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for "));
    click(&form, "cmdPrevious");
    QCOMPARE(p.messages.shown.size(), 1);
    QCOMPARE(box(0)->text(), QStringLiteral("12,500.50"));
    QCOMPARE(stored("Tuition").toDouble(), 12500.5);
    QCOMPARE(stored("Development_Levy"), QVariant(0.0));
    QCOMPARE(stored("Sports").toDouble(), 251.499);

    click(&form, "cmdLast");
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click(&form, "cmdNext"); // stays on the last row
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click(&form, "cmdFirst");
    QCOMPARE(widget<QLabel>(&form, "lblClass_Arm")->text(), level);
    // Each box is labelled with the column it writes.
    QCOMPARE(widget<QLabel>(&form, "Label1(4)")->text(), QStringLiteral("Sports"));
    grabPng(&form);
    retype(box(4), QStringLiteral("750"));
    click(&form, "cmdClose");
    QVERIFY(!form.isVisible());
    QCOMPARE(stored("Sports").toDouble(), 750.0);
}

QTEST_MAIN(TestReviseFees)
#include "tst_revisefees.moc"
