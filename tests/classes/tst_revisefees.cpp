#include "TestProgram.h"
#include "classes/ReviseFees.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

// The fee schedule editor driven as an operator would, then the table read.
class TestReviseFees : public QObject
{
    Q_OBJECT
private slots:
    void init() { p = std::make_unique<TestProgram>(); p->prepareState(); }
    void cleanup() { form.reset(); p.reset(); }

    void labelsAreColumnNames();
    void amountShownWithSeparatorsAfterLeavingTheRow_data();
    void amountShownWithSeparatorsAfterLeavingTheRow();
    void captionFollowsTheRow();
    void closingWritesTheRow();
    void refusedAmountIsReported();
    void onlyWhatWasTypedIsWritten();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<ReviseFees> form;
    void openForm()
    {
        form = std::make_unique<ReviseFees>(*p->state);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QLineEdit *box(int i) { return form->findChild<QLineEdit *>(QStringLiteral("txtReviseFees(%1)").arg(i)); }
    void click(const char *name) { QTest::mouseClick(form->findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton); }
    void type(int i, const QString &text)
    {
        QTest::mouseClick(box(i), Qt::LeftButton);
        box(i)->selectAll();
        QTest::keyClicks(box(i), text);
    }
    QVariant stored(const QString &level, const QString &column)
    {
        QSqlQuery q(p->state->db());
        q.prepare(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM Fees WHERE Class_Level = ?"));
        q.addBindValue(level);
        return q.exec() && q.next() ? q.value(0) : QVariant(QStringLiteral("<none>"));
    }
};

void TestReviseFees::labelsAreColumnNames()
{
    openForm();
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label1(0)"))->text(), QStringLiteral("Tuition"));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label1(1)"))->text(), QStringLiteral("Development_Levy"));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label1(19)"))->text(), QStringLiteral("Registration"));
    QCOMPARE(box(0)->text(), QStringLiteral("0.00"));
    form->grab().save(QStringLiteral("/tmp/kolvane-revisefees.png"));
}

void TestReviseFees::amountShownWithSeparatorsAfterLeavingTheRow_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12500" << "12,500.00" << 12500.0;
    QTest::newRow("separators") << "12,500.50" << "12,500.50" << 12500.5;
    QTest::newRow("small") << "30" << "30.00" << 30.0;
}

void TestReviseFees::amountShownWithSeparatorsAfterLeavingTheRow()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, value);
    openForm();
    type(0, typed);
    click("cmdNext");
    click("cmdPrevious");
    QCOMPARE(box(0)->text(), shown);
    QCOMPARE(stored(QStringLiteral("KinderGarten1"), QStringLiteral("Tuition")).toDouble(), value);
    QVERIFY(p->messages.shown.isEmpty());
}

void TestReviseFees::captionFollowsTheRow()
{
    QSqlQuery(p->state->db()).exec(QStringLiteral("UPDATE Fees SET Class_Level = '' WHERE Class_Level = 'KinderGarten2'"));
    openForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for KinderGarten1"));
    click("cmdNext");
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for "));
    click("cmdLast");
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click("cmdNext"); // stays on the last row
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click("cmdFirst");
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("lblClass_Arm"))->text(), QStringLiteral("KinderGarten1"));
}

void TestReviseFees::closingWritesTheRow()
{
    openForm();
    click("cmdLast");
    type(4, QStringLiteral("750"));
    click("cmdClose");
    QVERIFY(!form->isVisible());
    QCOMPARE(stored(QStringLiteral("Secondary8"), QStringLiteral("Sports")).toDouble(), 750.0);
}

void TestReviseFees::refusedAmountIsReported()
{
    openForm();
    type(0, QStringLiteral("a lot"));
    click("cmdNext");
    QCOMPARE(p->messages.shown.size(), 1);
    QCOMPARE(p->messages.shown.at(0).icon, MessageBoxes::Icon::Exclamation);
    // The operator stays on the row, in the box, until it reads whole.
    QCOMPARE(form->windowTitle(), QStringLiteral("Revise Fees for KinderGarten1"));
    QCOMPARE(QApplication::focusWidget(), box(0));
    QCOMPARE(stored(QStringLiteral("KinderGarten1"), QStringLiteral("Tuition")).toDouble(), 0.0);
    type(0, QStringLiteral("1,200"));
    click("cmdClose");
    QVERIFY(!form->isVisible());
    QCOMPARE(stored(QStringLiteral("KinderGarten1"), QStringLiteral("Tuition")).toDouble(), 1200.0);
}

// An emptied amount is 0 and costs nothing else typed on the row; a box left
// alone keeps its stored amount to the last decimal.
void TestReviseFees::onlyWhatWasTypedIsWritten()
{
    QSqlQuery(p->state->db()).exec(QStringLiteral("UPDATE Fees SET Development_Levy = 40, Sports = 251.499"));
    openForm();
    type(0, QStringLiteral("750"));
    type(1, QString());
    QTest::keyClick(box(1), Qt::Key_Delete);
    click("cmdNext");
    QVERIFY(p->messages.shown.isEmpty());
    const QString level = QStringLiteral("KinderGarten1");
    QCOMPARE(stored(level, QStringLiteral("Tuition")).toDouble(), 750.0);
    QCOMPARE(stored(level, QStringLiteral("Development_Levy")), QVariant(0.0));
    QCOMPARE(stored(level, QStringLiteral("Sports")).toDouble(), 251.499);
}

QTEST_MAIN(TestReviseFees)
#include "tst_revisefees.moc"
