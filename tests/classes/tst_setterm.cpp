#include "TestProgram.h"
#include "Widgets.h"
#include "classes/SetTerm.h"
#include "platform/KeyValueFile.h"

#include <QButtonGroup>
#include <QLabel>
#include <QScrollBar>

// A stored term; what the form shows of it: the option (-1: none), the year and the label;
// and what OK then writes.
struct Opened
{
    const char *stored;
    int chosen, year;
    const char *label, *written;
};
Q_DECLARE_METATYPE(Opened)

// The term form driven as an operator would, over a stored term.
class TestSetTerm : public QObject
{
    Q_OBJECT
private slots:
    void openThenOk_data();
    void openThenOk();
    void changeThenLeave();

private:
    void open(const QString &stored);
    QScrollBar *year() const { return widget<QScrollBar>(form.get(), "hscYear"); }
    QLabel *label(const char *name) const { return widget<QLabel>(form.get(), name); }
    QString storedTerm() const
    {
        return ReadVar(QStringLiteral("CurrentTerm"), program->state->IniPath);
    }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<SetTerm> form;
};

// The term goes through the file and the loader, as at start-up, so it carries the loader's
// trailing blank.
void TestSetTerm::open(const QString &stored)
{
    form.reset();
    program = std::make_unique<TestProgram>();
    program->writeIni({{QStringLiteral("CurrentTerm"), stored}, {"Primary1(1)", "Blue"}});
    program->prepareState();
    form = std::make_unique<SetTerm>(*program->state);
    QVERIFY(showActive(form.get()));
}

void TestSetTerm::openThenOk_data()
{
    QTest::addColumn<Opened>("row");
    const Opened rows[] = {
        // The trailing blank is shown, not written.
        {"Third Term_2005/2006", 2, 2005, "Third Term_2005/2006 ", "Third Term_2005/2006"},
        {"Fourth Term_2199/2200", 3, 2199, "Fourth Term_2199/2200 ", "Fourth Term_2199/2200"},
        // No underscore: not a term at all; small letters: not one of the four.
        {"Second Term 2004/2005", -1, 2000, "Academic Session", "_2000/2001"},
        {"first term_2010/2011", -1, 2010, "first term_2010/2011 ", "_2010/2011"},
        // A year the bar cannot show leaves it at 2000.
        {"Fourth Term_1850/1851", 3, 2000, "Fourth Term_1850/1851 ", "Fourth Term_2000/2001"},
        {"Second Term_2200/2201", 1, 2000, "Second Term_2200/2201 ", "Second Term_2000/2001"}};
    for (const Opened &row : rows)
        QTest::newRow(row.stored) << row;
}

void TestSetTerm::openThenOk()
{
    QFETCH(Opened, row);
    open(QString::fromLatin1(row.stored));
    QCOMPARE(form->findChild<QButtonGroup *>()->checkedId(), row.chosen);
    QCOMPARE(year()->value(), row.year);
    QCOMPARE(label("lblYear")->text(), QString::number(row.year));
    QCOMPARE(label("lblTerm")->text(), QString::fromLatin1(row.label));
    // The term fits its label, the year reads beside its bar.
    QLabel *term = label("lblTerm");
    QVERIFY(term->contentsRect().width() >= term->fontMetrics().horizontalAdvance(term->text()));
    const QRect y = label("lblYear")->geometry();
    QVERIFY(y.left() >= year()->geometry().right());
    QVERIFY(qAbs(y.center().y() - year()->geometry().center().y()) <= 2);
    grabPng(form.get());

    QTest::keyClick(year(), Qt::Key_Return); // Enter is OK
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(storedTerm(), QString::fromLatin1(row.written));
    QCOMPARE(program->state->classes.CurrentTerm, QString::fromLatin1(row.written));
    // Nothing else in the file moves.
    QCOMPARE(ReadVar(QStringLiteral("Primary1(1)"), program->state->IniPath),
             QStringLiteral("Blue"));
    QVERIFY(program->messages.shown.isEmpty());
}

// The stored text stays until a change; then the composer takes over. Esc and Cancel
// change nothing; OK where the file cannot be written tells the operator, and the session
// goes on with the new term.
void TestSetTerm::changeThenLeave()
{
    const QString stored = QStringLiteral("Fourth Term_1850/1851");
    open(stored);
    // A click right of the handle, left of the arrow, moves one year.
    QTest::mouseClick(year(), Qt::LeftButton, {},
                      QPoint(year()->width() - year()->height() * 2, year()->height() / 2));
    QCOMPARE(label("lblTerm")->text(), QStringLiteral("Fourth Term_2001/2002"));
    QWidget *first = widget(form.get(), "optTerm(0)");
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(12, first->height() / 2)); // its caption
    QCOMPARE(label("lblTerm")->text(), QStringLiteral("First Term_2001/2002"));
    // The bar ends at 2199.
    QTest::keyClick(year(), Qt::Key_End);
    QTest::keyClick(year(), Qt::Key_Right);
    QCOMPARE(label("lblYear")->text(), QStringLiteral("2199"));
    QCOMPARE(label("lblTerm")->text(), QStringLiteral("First Term_2199/2200"));

    QTest::keyClick(year(), Qt::Key_Escape);
    QVERIFY2(!form->isVisible() && form->result() == QDialog::Rejected, "Esc");
    QVERIFY(showActive(form.get()));
    click(form.get(), "CancelButton");
    QVERIFY2(!form->isVisible() && form->result() == QDialog::Rejected, "Cancel");
    QCOMPARE(program->state->classes.CurrentTerm, stored + u' ');
    QCOMPARE(storedTerm(), stored);

    QVERIFY(showActive(form.get()));
    program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    click(form.get(), "OKButton");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(program->state->classes.CurrentTerm, QStringLiteral("First Term_2199/2200"));
    QCOMPARE(program->messages.shown.size(), 1);
    QVERIFY(program->messages.texts().first().contains(program->state->IniPath));
}

QTEST_MAIN(TestSetTerm)
#include "tst_setterm.moc"
