#include "Pdf.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "accounts/Accounts.h"
#include "accounts/LedgerText.h"

#include <QLabel>
#include <QRadioButton>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

// The amount rule on its own, then the ledger form driven as the school's
// secretary would: the list, the entry, the summary and the printout, against
// what the table then holds.
class TestAccounts : public QObject
{
    Q_OBJECT
private slots:
    void amounts();
    void entryAndEdit();
    void print();

private:
    // `values` as SQL, and a student who paid 100 of 200 when `student`.
    void open(const QString &values, bool student = false)
    {
        form.reset();
        program = std::make_unique<TestProgram>();
        program->writeTypicalIni();
        program->prepareState();
        program->state->SchoolName = u"Hill Top"_s;
        QSqlQuery q(program->state->db());
        QVERIFY(q.exec(u"INSERT INTO Accounts VALUES "_s + values));
        QVERIFY(!student || q.exec(QStringLiteral("INSERT INTO Student (Number, Cummulative_Paid, "
                                                  "Amount_Payable) VALUES ('S1', 100, 200)")));
        form = std::make_unique<Accounts>(*program->state);
        QVERIFY(showActive(form.get()));
    }
    // "ID|date|good|amount" by ID.
    QStringList table() const
    {
        return column(program->state->db().databaseName(),
                      u"SELECT printf('%s|%s|%s|%s', ID, Date_Of_Transaction, Good_Or_Service, "
                      "Amount) FROM Accounts ORDER BY ID"_s);
    }
    // Into the box as an operator does: click, the old text is selected, type.
    void type(const char *name, const QString &text)
    {
        auto *box = widget<QLineEdit>(form.get(), name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTRY_VERIFY(box->hasFocus() && box->selectedText() == box->text());
        QTest::keyClicks(box, text);
    }
    QWidget *child(const char *name) const { return widget(form.get(), name); }
    QListWidget *list() const { return widget<QListWidget>(form.get(), "lstAccounts"); }
    QString text(const char *box) const { return widget<QLineEdit>(form.get(), box)->text(); }
    // Near the left end, where an option's caption is.
    void press(const char *name) { click(form.get(), name, QPoint(12, child(name)->height() / 2)); }
    void command(int i) { press(qPrintable(u"cmdAccounts(%1)"_s.arg(i))); }
    void ok() { press("cmdDone(0)"); }
    bool focused(const char *name) const { return child(name)->hasFocus(); }
    bool option(const char *o) const { return widget<QRadioButton>(form.get(), o)->isChecked(); }
    bool entryShown() const { return child("FrameInput")->isVisible(); }
    // The four totals: students paid, payable, other income, purchases.
    QString balances() const
    {
        QStringList out;
        for (int i = 0; i < 4; ++i)
            out << widget<QLabel>(form.get(), u"lblBalance(%1)"_s.arg(i))->text();
        return out.join(u' ');
    }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<Accounts> form;
};

// The amount box's text as stored: to the cent, a half up as written (12.345
// lies just below in binary); empty: refused.
void TestAccounts::amounts()
{
    for (const QString refused : {"1e13", "-5", "abc", "1,500", ""})
        QVERIFY2(!LedgerText::enteredCents(refused), qPrintable(refused));
    for (const auto &[typed, stored] :
         {std::pair{"12.345", "12.35"}, std::pair{"1234567.885", "1234567.89"}})
        QCOMPARE(LedgerText::plainAmount(LedgerText::enteredCents(typed).value_or(-1)), stored);
}

// A new transaction through every check of the entry, an edit of each sign,
// deletions, and a store the database refuses.
void TestAccounts::entryAndEdit()
{
    open(u"(7, '2026-01-05', 'Desks', -1500), (2, '2026-02-01', 'Fete', 300)"_s);
    command(0);
    // The date typed whole; one Tab leaves it for the next box.
    QTRY_VERIFY(focused("DTPicker1"));
    QTest::keyClicks(child("DTPicker1"), u"1/12/2025"_s);
    QTest::keyClick(child("DTPicker1"), Qt::Key_Tab);
    QTRY_VERIFY(focused("txtGood_Or_Service"));
    QTest::keyClicks(child("txtGood_Or_Service"), u"   "_s);
    press("txtAmount");
    QVERIFY2(focused("txtGood_Or_Service"), "a blank good is left");
    retype(widget<QLineEdit>(form.get(), "txtGood_Or_Service"), u"Gift"_s);
    ok();
    QVERIFY2(focused("txtAmount") && table().size() == 2, "Ok takes an amount never entered");
    type("txtAmount", u"abc"_s);
    press("DTPicker1");
    QVERIFY2(focused("txtAmount") && text("txtAmount") == "abc", "a wrong amount is left");
    retype(widget<QLineEdit>(form.get(), "txtAmount"), u"12.345"_s);
    press("DTPicker1");
    QCOMPARE(text("txtAmount"), u"12.35"_s); // rounded on leaving
    press("optPayment(1)");
    ok();
    // A new ID is never one given before; the new line joins the list at its end.
    QVERIFY(!entryShown());
    QCOMPARE(list()->currentRow(), 2);
    QCOMPARE(table().last(), u"8|2025-12-01|Gift|12.35"_s);

    // An edit shows the magnitude in the box, the sign as the option; the line keeps its place.
    clickLine(list(), list()->item(0)->text());
    command(1);
    QVERIFY(text("txtAmount") == "1500" && option("optPayment(0)"));
    type("txtAmount", u"1234567.89"_s);
    ok();
    QCOMPARE(table(), QStringList({"2|2026-02-01|Fete|300.0", "7|2026-01-05|Desks|-1234567.89",
                                   "8|2025-12-01|Gift|12.35"}));
    QCOMPARE(lines(list()),
             QStringList({"5 Jan 2026    Desks = -1234567.89", "1 Feb 2026    Fete = 300",
                          "1 Dec 2025    Gift = 12.35"}));
    QCOMPARE(balances(), u"0.00 0.00 312.35 1,234,567.89"_s);
    QCOMPARE(list()->currentRow(), 0);
    clickLine(list(), list()->item(1)->text(), true);
    QVERIFY(text("txtAmount") == "300" && option("optPayment(1)"));
    press("cmdDone(1)");

    // Each deletion asks twice; the totals follow at once. No students: their totals are nothing.
    auto remove = [&](int command, const QString &answers, int left, const QString &totals) {
        program->messages.clear();
        for (QChar a : answers)
            program->messages.setNextAnswer(a == u'Y' ? MessageBoxes::Yes : MessageBoxes::No);
        this->command(command);
        QCOMPARE(program->messages.shown.size(), answers.size());
        QCOMPARE(table().size(), left);
        QCOMPARE(lines(list()).size(), left);
        QCOMPARE(balances(), u"0.00 0.00 "_s + totals);
    };
    clickLine(list(), list()->item(0)->text());
    remove(2, u"Y"_s, 3, u"312.35 1,234,567.89"_s);  // yes cancels
    remove(2, u"NN"_s, 3, u"312.35 1,234,567.89"_s); // not double sure
    remove(2, u"NY"_s, 2, u"312.35 0.00"_s);
    QVERIFY(!lines(list()).join(u'\n').contains(u"Desks"_s));
    remove(3, u"NY"_s, 0, u"0.00 0.00"_s);
    // On an empty ledger Edit and Delete only go to the list; Delete All asks, then finds nothing.
    command(1);
    command(2);
    QVERIFY(!entryShown() && list()->hasFocus());
    remove(3, u"NY"_s, 0, u"0.00 0.00"_s);
    QCOMPARE(program->messages.texts(),
             QStringList({"Cancel Deletion?", "Are you double sure you want to Delete All?"}));

    // Ok refuses a good never entered; the engine's refusal is said and nothing typed is lost.
    command(0);
    type("txtAmount", u"9.99"_s);
    ok();
    QVERIFY(focused("txtGood_Or_Service"));
    type("txtGood_Or_Service", u"Ink"_s);
    QVERIFY(QSqlQuery(program->state->db()).exec(u"PRAGMA query_only = ON"_s));
    ok();
    QVERIFY(program->messages.texts().join(u' ').contains(u"readonly"_s));
    QVERIFY(entryShown() && table().isEmpty());
    QCOMPARE(text("txtGood_Or_Service") + u' ' + text("txtAmount"), u"Ink 9.99"_s);
}

void TestAccounts::print()
{
    open(QStringLiteral("(3, '2026-03-14', 'Gift', 25.5), (2, '2026-01-02', 'Desks', -1234567.89), "
                        "(1, '2026-01-01', 'Hall hire', 100)"),
         true);
    const QString pdf = program->file(u"Reports/accounts.pdf"_s);
    printToPdf(program->desktop, pdf);
    command(4);
    QCOMPARE(program->messages.texts(), QStringList{"No Printer installed."});
    QCOMPARE(program->messages.shown.at(0).icon, MessageBoxes::Icon::Information);
    QVERIFY(program->desktop.prints == 0 && !QFile::exists(pdf));

    program->desktop.printerInstalled = true;
    command(4);
    QCOMPARE(program->messages.shown.size(), 1);
    // Line by line as pdftotext lays the page out; the page number last.
    const QByteArray expected = fileBytes(QStringLiteral(KOLVANE_TEST_DATA "/printout.txt"));
    QCOMPARE(pdfLines(pdf), QString::fromUtf8(expected).split(u'\n', Qt::SkipEmptyParts));
}

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
