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
    void init() { p = std::make_unique<TestProgram>(); p->prepareState(); }
    void cleanup() { form.reset(); p.reset(); }

    void amountShownWithSeparatorsAfterLeavingTheRow_data();
    void amountShownWithSeparatorsAfterLeavingTheRow();
    void captionFollowsTheRowCloseWrites();
    void onlyWhatWasTypedIsWritten();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<ReviseFees> form;
    void openForm()
    {
        form = std::make_unique<ReviseFees>(*p->state);
        QVERIFY(showActive(form.get()));
    }
    QLineEdit *box(int i) { return widget<QLineEdit>(form.get(), QStringLiteral("txtReviseFees(%1)").arg(i)); }
    QString label(int i) { return widget<QLabel>(form.get(), QStringLiteral("Label1(%1)").arg(i))->text(); }
    QVariant stored(const QString &level, const QString &column)
    {
        QSqlQuery q(p->state->db());
        q.prepare(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM Fees WHERE Class_Level = ?"));
        q.addBindValue(level);
        return q.exec() && q.next() ? q.value(0) : QVariant(QStringLiteral("<none>"));
    }
};

void TestReviseFees::amountShownWithSeparatorsAfterLeavingTheRow_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12500" << "12,500.00" << 12500.0;
    QTest::newRow("separators") << "12,500.50" << "12,500.50" << 12500.5;
}

void TestReviseFees::amountShownWithSeparatorsAfterLeavingTheRow()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, value);
    openForm();
    QCOMPARE(box(0)->text(), QStringLiteral("0.00"));
    retype(box(0), typed);
    click(form.get(), "cmdNext");
    click(form.get(), "cmdPrevious");
    QCOMPARE(box(0)->text(), shown);
    QCOMPARE(stored(QStringLiteral("KinderGarten1"), QStringLiteral("Tuition")).toDouble(), value);
    QVERIFY(p->messages.shown.isEmpty());
}

// The caption follows the row; each box is labelled with the column it writes, and
// Close writes the row.
void TestReviseFees::captionFollowsTheRowCloseWrites()
{
    QSqlQuery(p->state->db()).exec(QStringLiteral("UPDATE Fees SET Class_Level = '' WHERE Class_Level = 'KinderGarten2'"));
    openForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for KinderGarten1"));
    click(form.get(), "cmdNext");
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for "));
    click(form.get(), "cmdLast");
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click(form.get(), "cmdNext"); // stays on the last row
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click(form.get(), "cmdFirst");
    QCOMPARE(widget<QLabel>(form.get(), "lblClass_Arm")->text(), QStringLiteral("KinderGarten1"));
    QCOMPARE(label(4), QStringLiteral("Sports"));
    grabPng(form.get());
    retype(box(4), QStringLiteral("750"));
    click(form.get(), "cmdClose");
    QVERIFY(!form->isVisible());
    QCOMPARE(stored(QStringLiteral("KinderGarten1"), QStringLiteral("Sports")).toDouble(), 750.0);
}

// An amount that does not read whole is reported and keeps the operator on the row, in
// the box, nothing written. An emptied amount is 0 and costs nothing else typed on the
// row; a box left alone keeps its stored amount to the last decimal.
void TestReviseFees::onlyWhatWasTypedIsWritten()
{
    QSqlQuery(p->state->db()).exec(QStringLiteral("UPDATE Fees SET Development_Levy = 40, Sports = 251.499"));
    openForm();
    const QString level = QStringLiteral("KinderGarten1");
    retype(box(0), QStringLiteral("a lot"));
    click(form.get(), "cmdNext");
    QCOMPARE(p->messages.shown.size(), 1);
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for KinderGarten1"));
    QCOMPARE(QApplication::focusWidget(), box(0));
    QCOMPARE(stored(level, QStringLiteral("Tuition")).toDouble(), 0.0);
    retype(box(0), QStringLiteral("750"));
    retype(box(1), QString());
    QTest::keyClick(box(1), Qt::Key_Delete);
    click(form.get(), "cmdNext");
    QCOMPARE(p->messages.shown.size(), 1);
    QCOMPARE(stored(level, QStringLiteral("Tuition")).toDouble(), 750.0);
    QCOMPARE(stored(level, QStringLiteral("Development_Levy")), QVariant(0.0));
    QCOMPARE(stored(level, QStringLiteral("Sports")).toDouble(), 251.499);
}

QTEST_MAIN(TestReviseFees)
#include "tst_revisefees.moc"
