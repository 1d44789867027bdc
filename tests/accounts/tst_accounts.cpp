#include "TestProgram.h"
#include "Widgets.h"
#include "accounts/Accounts.h"

#include <QDateEdit>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTextDocument>

// The ledger form driven as the school's secretary would: the list, the
// entry, the summary and the printout, against what the table then holds.
class TestAccounts : public QObject
{
    Q_OBJECT
private slots:
    void entryChecks_data();
    void entryChecks();
    void addThenEdit_data();
    void addThenEdit();
    void deleteAsks_data();
    void deleteAsks();
    void print();

private:
    void open(const QStringList &rows, double studentPaid = -1);
    QStringList table() const;
    void type(const char *box, const QString &text);
    template<class T = QWidget>
    T *child(const QString &name) const { return widget<T>(form.get(), name); }
    QListWidget *list() const { return child<QListWidget>(QStringLiteral("lstAccounts")); }
    QString text(const char *box) const { return widget<QLineEdit>(form.get(), box)->text(); }
    // Near the left end, where an option's caption is.
    void press(const QString &name) { click(form.get(), qPrintable(name), QPoint(12, child(name)->height() / 2)); }
    void command(int i) { press(QStringLiteral("cmdAccounts(%1)").arg(i)); }
    void ok() { press(QStringLiteral("cmdDone(0)")); }
    void clickRow(int row, bool twice = false) { clickLine(list(), list()->item(row)->text(), twice); }
    bool entryShown() const { return child(QStringLiteral("FrameInput"))->isVisible(); }
    QString balance(int i) const { return child<QLabel>(QStringLiteral("lblBalance(%1)").arg(i))->text(); }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<Accounts> form;
};

// Rows as table() gives them; a student paying `studentPaid` of twice as much,
// none when it is below 0.
void TestAccounts::open(const QStringList &rows, double studentPaid)
{
    form.reset();
    program = std::make_unique<TestProgram>();
    program->writeTypicalIni();
    program->prepareState();
    program->state->SchoolName = QStringLiteral("Hill Top");
    QSqlQuery q(program->state->db());
    for (const QString &row : rows) {
        q.prepare(QStringLiteral("INSERT INTO Accounts VALUES (?, ?, ?, ?)"));
        for (const QString &field : row.split(u'|'))
            q.addBindValue(field);
        QVERIFY(q.exec());
    }
    if (studentPaid >= 0)
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Cummulative_Paid, "
                                      "Amount_Payable) VALUES ('S1', %1, %1 * 2)")
                           .arg(studentPaid)));
    form = std::make_unique<Accounts>(*program->state);
    QVERIFY(showActive(form.get()));
}

// "ID|date|good|amount" by ID.
QStringList TestAccounts::table() const
{
    QStringList out;
    QSqlQuery q(QStringLiteral("SELECT * FROM Accounts ORDER BY ID"), program->state->db());
    while (q.next())
        out << QStringLiteral("%1|%2|%3|%4")
                   .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                        q.value(3).toString());
    return out;
}

// Into the box as an operator does: click, the old text is selected, type.
void TestAccounts::type(const char *name, const QString &text)
{
    auto *box = widget<QLineEdit>(form.get(), name);
    QTest::mouseClick(box, Qt::LeftButton);
    QTRY_VERIFY(box->hasFocus() && box->selectedText() == box->text());
    QTest::keyClicks(box, text);
}

void TestAccounts::entryChecks_data()
{
    QTest::addColumn<QString>("good");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("stays"); // the box that keeps the focus; empty: stored
    QTest::addColumn<QString>("shown"); // the amount box afterwards
    // clang-format off
    QTest::newRow("rounded on leaving") << "Ink" << "12.345" << "" << "12.35";
    QTest::newRow("large, half a cent") << "Ink" << "1234567.885" << "" << "1234567.89";
    QTest::newRow("too large for cents") << "Ink" << "1e13" << "txtAmount" << "1e13";
    QTest::newRow("negative") << "Ink" << "-5" << "txtAmount" << "-5";
    QTest::newRow("not a number") << "Ink" << "abc" << "txtAmount" << "abc";
    QTest::newRow("amount never entered") << "Ink" << "" << "txtAmount" << "";
    QTest::newRow("good never entered") << "" << "7" << "txtGood_Or_Service" << "7";
    QTest::newRow("blank good") << "   " << "" << "txtGood_Or_Service" << "";
    QTest::newRow("database refuses") << "Ink" << "9.99" << "refused" << "9.99";
    // clang-format on
}

void TestAccounts::entryChecks()
{
    QFETCH(QString, good);
    QFETCH(QString, amount);
    QFETCH(QString, stays);
    QFETCH(QString, shown);
    open({});
    if (stays == QLatin1String("refused"))
        QVERIFY(QSqlQuery(program->state->db()).exec(QStringLiteral("PRAGMA query_only = ON")));
    command(0);
    if (!good.isEmpty())
        type("txtGood_Or_Service", good);
    if (!amount.isEmpty())
        type("txtAmount", amount);
    // Leaving a box rounds it, or is refused while the box fails its check.
    press(QStringLiteral("DTPicker1"));
    QCOMPARE(text("txtAmount"), shown);
    ok();
    if (stays.isEmpty()) {
        QCOMPARE(table(), QStringList{"1|2026-03-14|Ink|-" + shown});
        return;
    }
    QVERIFY(entryShown() && table().isEmpty());
    if (stays == QLatin1String("refused")) {
        // The engine's word, and nothing typed is lost.
        QVERIFY(program->messages.texts().join(u' ').contains(QStringLiteral("readonly")));
        QCOMPARE(text("txtGood_Or_Service"), good);
        return;
    }
    QVERIFY(child(stays)->hasFocus());
}

void TestAccounts::addThenEdit_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("Edit button") << false;
    QTest::newRow("double-click") << true;
}

// A new transaction never repeats an ID (the highest here on an older date; an empty
// ledger starts at 1 in the entry checks), and joins the list at its end. An edit shows
// the magnitude in the box, the sign as the option; the line keeps its place.
void TestAccounts::addThenEdit()
{
    QFETCH(bool, doubleClick);
    open({"7|2026-01-05|Desks|-1500", "2|2026-02-01|Fete|300"});
    command(0);
    // The date typed whole; one Tab leaves it for the next box.
    auto *date = child<QDateEdit>(QStringLiteral("DTPicker1"));
    QTRY_VERIFY(date->hasFocus());
    QTest::keyClicks(date, QStringLiteral("1/12/2025"));
    QTest::keyClick(date, Qt::Key_Tab);
    QTRY_VERIFY(child(QStringLiteral("txtGood_Or_Service"))->hasFocus());
    QTest::keyClicks(child(QStringLiteral("txtGood_Or_Service")), QStringLiteral("Gift"));
    type("txtAmount", QStringLiteral("50"));
    press(QStringLiteral("optPayment(1)"));
    ok();
    QVERIFY(!entryShown());
    QCOMPARE(list()->currentRow(), 2);
    clickRow(0, doubleClick);
    if (!doubleClick)
        command(1);
    QVERIFY(entryShown());
    QCOMPARE(text("txtAmount"), QStringLiteral("1500"));
    QVERIFY(child<QRadioButton>(QStringLiteral("optPayment(0)"))->isChecked());
    type("txtAmount", QStringLiteral("1234567.89"));
    ok();
    QCOMPARE(table(), QStringList({"2|2026-02-01|Fete|300", "7|2026-01-05|Desks|-1234567.89",
                                   "8|2025-12-01|Gift|50"}));
    QCOMPARE(lines(list()), QStringList({"5 Jan 2026    Desks = -1234567.89", "1 Feb 2026    Fete = 300",
                                         "1 Dec 2025    Gift = 50"}));
    QCOMPARE(balance(3), QStringLiteral("1,234,567.89"));
    QCOMPARE(list()->currentRow(), 0);
}

void TestAccounts::deleteAsks_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answers"); // to the two questions
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("totals"); // other income and purchases, shown at once
    QTest::newRow("yes cancels") << 2 << "Y" << 4 << "125.50 40.00";
    QTest::newRow("not double sure") << 2 << "NN" << 4 << "125.50 40.00";
    QTest::newRow("deleted") << 2 << "NY" << 3 << "25.50 40.00";
    QTest::newRow("all deleted") << 3 << "NY" << 0 << "0.00 0.00";
}

void TestAccounts::deleteAsks()
{
    QFETCH(int, command);
    QFETCH(QString, answers);
    QFETCH(int, left);
    QFETCH(QString, totals);
    open({"1|2026-01-01|Hall hire|100", "2|2026-01-02|Desks|-40", "3|2026-01-03|Nothing|0",
          "4|2026-01-04|Gift|25.5"});
    // No students: their totals are nothing.
    QCOMPARE(balance(0) + u' ' + balance(1), QStringLiteral("0.00 0.00"));
    clickRow(0);
    for (QChar a : answers)
        program->messages.setNextAnswer(a == u'Y' ? MessageBoxes::Yes : MessageBoxes::No);
    this->command(command);
    QCOMPARE(program->messages.shown.size(), answers.size());
    QCOMPARE(table().size(), left);
    QCOMPARE(lines(list()).size(), left);
    QCOMPARE(balance(2) + u' ' + balance(3), totals);
    QCOMPARE(lines(list()).join(u'\n').contains(QStringLiteral("Hall hire")), left == 4);
    if (left)
        return;
    // On an empty ledger Edit and Delete only go to the list; Delete All asks, then finds nothing.
    this->command(1);
    this->command(2);
    QVERIFY(!entryShown() && list()->hasFocus());
    program->messages.clear();
    program->messages.setNextAnswer(MessageBoxes::No);
    this->command(3);
    QCOMPARE(program->messages.texts(),
             QStringList({"Cancel Deletion?", "Are you double sure you want to Delete All?"}));
}

void TestAccounts::print()
{
    open({"3|2026-03-14|Gift|25.5", "2|2026-01-02|Desks|-1234567.89", "1|2026-01-01|Hall hire|100"},
         100);
    const QString pdf = program->file(QStringLiteral("Reports/accounts.pdf"));
    program->desktop.onPrint = [&](QTextDocument &document) {
        QPrinter out(QPrinter::HighResolution);
        out.setOutputFormat(QPrinter::PdfFormat);
        out.setOutputFileName(pdf);
        document.print(&out);
        return true;
    };
    command(4);
    QCOMPARE(program->messages.texts(), QStringList{"No Printer installed."});
    QCOMPARE(program->messages.shown.at(0).icon, MessageBoxes::Icon::Information);
    QVERIFY(program->desktop.prints == 0 && !QFile::exists(pdf));

    program->desktop.printerInstalled = true;
    command(4);
    QCOMPARE(program->messages.shown.size(), 1);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    QStringList got = QString::fromUtf8(text.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (QString &l : got)
        l = l.simplified();
    got.removeAll(QString());
    QCOMPARE(got,
             QStringList({"Hill Top Accounts Summary : Second Term_2026/2027",
                          "Cummulative paid by Students = 100.00",
                          "Total amount payable by Students = 200.00", "Other Income = 125.50",
                          "Purchases = 1,234,567.89", "The non-student fee transactions are;",
                          "(Payment made to School is positive, that made by School is negative)",
                          "1 Jan 2026 Hall hire = 100", "2 Jan 2026 Desks = -1234567.89",
                          "14 Mar 2026 Gift = 25.5", "Generated by School Brindlemark",
                          "Copyright \u00A9 Velmoran. All rights reserved.", "1"}));
}

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
