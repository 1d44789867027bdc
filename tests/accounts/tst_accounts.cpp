#include "Modal.h"
#include "TestProgram.h"
#include "accounts/Accounts.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <QTextDocument>
#include <memory>

// The ledger form driven as the school's secretary would: the list, the
// entry, the summary and the printout, against what the table then holds.
class TestAccounts : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void emptyLedger();
    void addTakesNextId_data();
    void addTakesNextId();
    void entryChecks_data();
    void entryChecks();
    void editPurchase_data();
    void editPurchase();
    void deleteAsks_data();
    void deleteAsks();
    void summary();
    void print_data();
    void print();
    void failedWriteKeepsEntry_data();
    void failedWriteKeepsEntry();
    void looksRight();

private:
    struct Row
    {
        int id;
        QString date;
        QString good;
        double amount;
    };
    void open(const QList<Row> &rows, const QList<std::pair<double, double>> &students = {});
    QStringList table() const;
    void type(const char *box, const QString &text);
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    void command(int i) { click(form->findChild<QPushButton *>(QStringLiteral("cmdAccounts(%1)").arg(i))); }
    void ok() { click(form->findChild<QPushButton *>(QStringLiteral("cmdDone(0)"))); }
    void select(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
    }
    QListWidget *list() const { return form->findChild<QListWidget *>(QStringLiteral("lstAccounts")); }
    QLineEdit *box(const char *name) const { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    bool entryShown() const { return form->findChild<QGroupBox *>(QStringLiteral("FrameInput"))->isVisible(); }
    QString balance(int i) const
    {
        return form->findChild<QLabel *>(QStringLiteral("lblBalance(%1)").arg(i))->text();
    }
    QRadioButton *option(int i) const
    {
        return form->findChild<QRadioButton *>(QStringLiteral("optPayment(%1)").arg(i));
    }
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<Accounts> form;
};

void TestAccounts::cleanup()
{
    cancelPendingModals();
    form.reset();
    program.reset();
}

void TestAccounts::open(const QList<Row> &rows, const QList<std::pair<double, double>> &students)
{
    program = std::make_unique<TestProgram>();
    program->writeTypicalIni();
    program->prepareState();
    program->state->SchoolName = QStringLiteral("Hill Top");
    QSqlQuery q(program->state->db());
    for (const Row &r : rows) {
        q.prepare(QStringLiteral("INSERT INTO Accounts VALUES (?, ?, ?, ?)"));
        q.addBindValue(r.id);
        q.addBindValue(r.date);
        q.addBindValue(r.good);
        q.addBindValue(r.amount);
        QVERIFY(q.exec());
    }
    for (const auto &[paid, payable] : students) {
        q.prepare(QStringLiteral("INSERT INTO Student (Cummulative_Paid, Amount_Payable) VALUES (?, ?)"));
        q.addBindValue(paid);
        q.addBindValue(payable);
        QVERIFY(q.exec());
    }
    form = std::make_unique<Accounts>(*program->state);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

// "ID|date|good|amount" by ID.
QStringList TestAccounts::table() const
{
    QStringList out;
    QSqlQuery q(QStringLiteral("SELECT ID, Date_Of_Transaction, Good_Or_Service, Amount FROM Accounts ORDER BY ID"),
                program->state->db());
    while (q.next())
        out << QStringLiteral("%1|%2|%3|%4").arg(q.value(0).toString(), q.value(1).toString(),
                                               q.value(2).toString(), q.value(3).toString());
    return out;
}

// Into the box as an operator does: click, the old text is selected, type.
void TestAccounts::type(const char *name, const QString &text)
{
    QLineEdit *b = box(name);
    click(b);
    QTRY_VERIFY(b->hasFocus() && b->selectedText() == b->text());
    QTest::keyClicks(b, text);
}

void TestAccounts::emptyLedger()
{
    open({});
    QCOMPARE(list()->count(), 0);
    for (int i : {1, 2}) {
        command(i);
        QVERIFY(list()->hasFocus());
        QVERIFY(!entryShown());
    }
    program->messages.setNextAnswer(MessageBoxes::No);
    program->messages.setNextAnswer(MessageBoxes::Yes);
    command(3);
    QCOMPARE(program->messages.texts(),
             QStringList({"Cancel Deletion?", "Are you double sure you want to Delete All?"}));
    command(0);
    QVERIFY(entryShown());
    // The purchase option is chosen at load.
    QVERIFY(option(0)->isChecked());
    type("txtGood_Or_Service", QStringLiteral("Chalk"));
    type("txtAmount", QStringLiteral("12.5"));
    ok();
    QVERIFY(!entryShown());
    QCOMPARE(table(), QStringList{"1|2026-03-14|Chalk|-12.5"});
    QCOMPARE(lines(), QStringList{"14/3/26    Chalk = -12.5"});
    QCOMPARE(list()->currentRow(), 0);
}

void TestAccounts::addTakesNextId_data()
{
    QTest::addColumn<QList<int>>("ids"); // dated one day apart, in this order
    QTest::addColumn<int>("next");
    QTest::newRow("one transaction") << QList<int>{4} << 5;
    QTest::newRow("highest on an older date") << QList<int>{7, 2, 3} << 8;
}

// A new transaction never repeats an ID, and joins the list at its end.
void TestAccounts::addTakesNextId()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, next);
    QList<Row> rows;
    for (int i = 0; i < ids.size(); ++i)
        rows.append({ids.at(i), QDate(2026, 1, 10 + i).toString(Qt::ISODate), QStringLiteral("Old"), 1});
    open(rows);
    QCOMPARE(list()->currentRow(), ids.size() - 1);
    command(0);
    // An earlier date still goes to the end of the list.
    form->findChild<QDateEdit *>(QStringLiteral("DTPicker1"))->setDate(QDate(2025, 12, 1));
    type("txtGood_Or_Service", QStringLiteral("Gift"));
    type("txtAmount", QStringLiteral("50"));
    click(option(1));
    ok();
    QCOMPARE(table().size(), ids.size() + 1);
    QVERIFY(table().contains(QStringLiteral("%1|2025-12-01|Gift|50").arg(next)));
    QCOMPARE(lines().last(), QStringLiteral("1/12/25    Gift = 50"));
    QCOMPARE(list()->currentRow(), ids.size());
}

void TestAccounts::entryChecks_data()
{
    QTest::addColumn<QString>("good");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("stays"); // the box that keeps the focus; empty: stored
    QTest::addColumn<QString>("shown"); // the amount box afterwards
    QTest::newRow("rounded on leaving") << "Ink" << "12.345" << "" << "12.35";
    QTest::newRow("negative") << "Ink" << "-5" << "txtAmount" << "-5";
    QTest::newRow("not a number") << "Ink" << "abc" << "txtAmount" << "abc";
    QTest::newRow("grouped") << "Ink" << "1,500" << "txtAmount" << "1,500";
    QTest::newRow("amount never entered") << "Ink" << "" << "txtAmount" << "";
    QTest::newRow("good never entered") << "" << "7" << "txtGood_Or_Service" << "7";
    QTest::newRow("blank good") << "   " << "" << "txtGood_Or_Service" << "";
}

void TestAccounts::entryChecks()
{
    QFETCH(QString, good);
    QFETCH(QString, amount);
    QFETCH(QString, stays);
    QFETCH(QString, shown);
    open({});
    command(0);
    if (!good.isEmpty())
        type("txtGood_Or_Service", good);
    if (!amount.isEmpty())
        type("txtAmount", amount);
    // Leaving a box rounds it, or is refused while the box fails its check.
    click(form->findChild<QDateEdit *>(QStringLiteral("DTPicker1")));
    QCOMPARE(box("txtAmount")->text(), shown);
    ok();
    if (stays.isEmpty()) {
        QCOMPARE(table(), QStringList{"1|2026-03-14|Ink|-12.35"});
        return;
    }
    QVERIFY(entryShown());
    QWidget *kept = box(stays.toLatin1().constData());
    QVERIFY(kept->hasFocus());
    // The field check holds the focus there until the box is mended.
    QTest::keyClick(kept, Qt::Key_Tab);
    QVERIFY(kept->hasFocus());
    QVERIFY(table().isEmpty());
}

void TestAccounts::editPurchase_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Edit button") << false;
    QTest::newRow("double-click") << true;
}

// The magnitude in the box, the sign as the option; the line keeps its place.
void TestAccounts::editPurchase()
{
    QFETCH(bool, doubleClick);
    open({{1, "2026-01-05", "Desks", -1500}, {2, "2026-02-01", "Fete", 300}});
    select(0);
    if (doubleClick)
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {},
                           list()->visualItemRect(list()->item(0)).center());
    else
        command(1);
    QVERIFY(entryShown());
    QCOMPARE(box("txtAmount")->text(), QStringLiteral("1500"));
    QCOMPARE(box("txtGood_Or_Service")->text(), QStringLiteral("Desks"));
    QVERIFY(option(0)->isChecked());
    type("txtAmount", QStringLiteral("1234567.89"));
    ok();
    QCOMPARE(table(), QStringList({"1|2026-01-05|Desks|-1234567.89", "2|2026-02-01|Fete|300"}));
    QCOMPARE(lines(), QStringList({"5/1/26    Desks = -1234567.89", "1/2/26    Fete = 300"}));
    QCOMPARE(balance(3), QStringLiteral("1,234,567.89"));
    // The edited line stays chosen.
    QCOMPARE(list()->currentRow(), 0);
}

void TestAccounts::deleteAsks_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QList<int>>("answers"); // to the two questions
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("income"); // shown at once
    QTest::newRow("yes cancels") << 2 << QList<int>{MessageBoxes::Yes} << 4 << "125.50";
    QTest::newRow("not double sure") << 2 << QList<int>{MessageBoxes::No, MessageBoxes::No} << 4
                                     << "125.50";
    QTest::newRow("deleted") << 2 << QList<int>{MessageBoxes::No, MessageBoxes::Yes} << 3 << "25.50";
    QTest::newRow("all, yes cancels") << 3 << QList<int>{MessageBoxes::Yes} << 4 << "125.50";
    QTest::newRow("all deleted") << 3 << QList<int>{MessageBoxes::No, MessageBoxes::Yes} << 0 << "0.00";
}

void TestAccounts::deleteAsks()
{
    QFETCH(int, command);
    QFETCH(QList<int>, answers);
    QFETCH(int, left);
    QFETCH(QString, income);
    open({{1, "2026-01-01", "Hall hire", 100}, {2, "2026-01-02", "Desks", -40},
          {3, "2026-01-03", "Nothing", 0}, {4, "2026-01-04", "Gift", 25.5}});
    select(0);
    for (int a : answers)
        program->messages.setNextAnswer(MessageBoxes::Button(a));
    this->command(command);
    QCOMPARE(program->messages.shown.size(), answers.size());
    QCOMPARE(table().size(), left);
    QCOMPARE(list()->count(), left);
    QCOMPARE(balance(2), income);
    if (left == 3)
        QVERIFY(!lines().join(u'\n').contains(QStringLiteral("Hall hire")));
}

// The students' fees beside the ledger; totals follow every Ok and Cancel.
void TestAccounts::summary()
{
    open({{1, "2026-01-01", "Hall hire", 100}, {2, "2026-01-02", "Desks", -40},
          {3, "2026-01-03", "Nothing", 0}, {4, "2026-01-04", "Gift", 25.5}},
         {{15000, 40000}, {2500.5, 40000}});
    QCOMPARE(form->findChild<QGroupBox *>(QStringLiteral("FrameSummary"))->title(),
             QStringLiteral("Summary : Second Term_2026/2027 "));
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown << balance(i);
    QCOMPARE(shown, QStringList({"17,500.50", "80,000.00", "125.50", "40.00"}));
    command(0);
    type("txtGood_Or_Service", QStringLiteral("Roof"));
    type("txtAmount", QStringLiteral("0.1"));
    ok();
    QCOMPARE(balance(3), QStringLiteral("40.10"));
    // Cancel empties the boxes and recounts from the list.
    command(0);
    type("txtAmount", QStringLiteral("5"));
    click(form->findChild<QPushButton *>(QStringLiteral("cmdDone(1)")));
    QVERIFY(!entryShown());
    QCOMPARE(balance(3), QStringLiteral("40.10"));
    command(0);
    QCOMPARE(box("txtAmount")->text(), QString());

    open({});
    QCOMPARE(balance(0), QStringLiteral("0.00"));
    QCOMPARE(balance(1), QStringLiteral("0.00"));
}

void TestAccounts::print_data()
{
    QTest::addColumn<bool>("printer");
    QTest::newRow("no printer") << false;
    QTest::newRow("printed to PDF") << true;
}

void TestAccounts::print()
{
    QFETCH(bool, printer);
    open({{2, "2026-01-02", "Desks", -1234567.89}, {1, "2026-01-01", "Hall hire", 100}},
         {{100, 250}});
    command(0);
    type("txtGood_Or_Service", QStringLiteral("Gift"));
    type("txtAmount", QStringLiteral("25.5"));
    click(option(1));
    ok();
    const QString pdf = program->file(QStringLiteral("Reports/accounts.pdf"));
    program->desktop.printerInstalled = printer;
    program->desktop.onPrint = [&](QTextDocument &document) {
        QPrinter out(QPrinter::HighResolution);
        out.setOutputFormat(QPrinter::PdfFormat);
        out.setOutputFileName(pdf);
        document.print(&out);
        return true;
    };
    command(4);
    if (!printer) {
        QCOMPARE(program->messages.shown.size(), 1);
        QCOMPARE(program->messages.shown.at(0).text, QStringLiteral("No Printer installed."));
        QCOMPARE(program->messages.shown.at(0).icon, MessageBoxes::Icon::Information);
        QCOMPARE(program->desktop.prints, 0);
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QVERIFY(program->messages.shown.isEmpty());
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    QStringList got;
    for (const QString &l : QString::fromUtf8(text.readAllStandardOutput()).split(u'\n'))
        if (!l.simplified().isEmpty())
            got << l.simplified();
    QCOMPARE(got, QStringList({
        "Hill Top Accounts Summary : Second Term_2026/2027",
        "Cummulative paid by Students = 100.00",
        "Total amount payable by Students = 250.00",
        "Other Income = 125.50",
        "Purchases = 1,234,567.89",
        "The non-student fee transactions are;",
        "(Payment made to School is positive, that made by School is negative)",
        "1/1/26 Hall hire = 100",
        "2/1/26 Desks = -1234567.89",
        "14/3/26 Gift = 25.5",
        "Generated by School Brindlemark",
        "Copyright \u00A9 Velmoran. All rights reserved.",
    }));
}

void TestAccounts::failedWriteKeepsEntry_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("add") << 0;
    QTest::newRow("edit") << 1;
    QTest::newRow("delete all") << 3;
}

// A database that refuses the write: the message, and nothing typed or listed is lost.
void TestAccounts::failedWriteKeepsEntry()
{
    QFETCH(int, command);
    open({{1, "2026-01-01", "Hall hire", 100}});
    const QStringList before = table();
    QVERIFY(QSqlQuery(program->state->db()).exec(QStringLiteral("PRAGMA query_only = ON")));
    if (command == 3)
        program->messages.setNextAnswer(MessageBoxes::No);
    this->command(command);
    if (command != 3) {
        type("txtGood_Or_Service", QStringLiteral("Gift"));
        type("txtAmount", QStringLiteral("9.99"));
        ok();
        QVERIFY(entryShown());
        QCOMPARE(box("txtGood_Or_Service")->text(), QStringLiteral("Gift"));
        QCOMPARE(box("txtAmount")->text(), QStringLiteral("9.99"));
    }
    QVERIFY(program->messages.shown.last().text.contains(QStringLiteral("readonly")));
    QCOMPARE(table(), before);
    QCOMPARE(lines(), QStringList{"1/1/26    Hall hire = 100"});
}

// Both views and the printout, saved for a look.
void TestAccounts::looksRight()
{
    open({{1, "2026-01-01", "Hall hire", 100}, {2, "2026-01-02", "Desks", -1234567.89}},
         {{17500.5, 80000}});
    const QString out = qEnvironmentVariable("KOLVANE_SHOTS");
    if (!out.isEmpty())
        form->grab().save(out + QStringLiteral("/accounts-list.png"));
    command(1);
    QVERIFY(entryShown());
    // Nothing is clipped: every control of the entry has its wanted size.
    for (QWidget *w : form->findChild<QGroupBox *>(QStringLiteral("FrameInput"))->findChildren<QWidget *>())
        if (w->isVisible())
            QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
    if (!out.isEmpty())
        form->grab().save(out + QStringLiteral("/accounts-entry.png"));
}

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
