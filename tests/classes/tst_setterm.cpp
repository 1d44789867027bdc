#include "TestProgram.h"
#include "Widgets.h"
#include "classes/SetTerm.h"
#include "platform/KeyValueFile.h"

#include <QButtonGroup>
#include <QLabel>
#include <QScrollBar>

// The term form driven as an operator would, over a stored term.
class TestSetTerm : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void openThenOk_data();
    void openThenOk();
    void changeThenLeave_data();
    void changeThenLeave();

private:
    void open(const QString &stored);
    int chosenOption() const { return form->findChild<QButtonGroup *>()->checkedId(); }
    QScrollBar *year() const { return widget<QScrollBar>(form.get(), "hscYear"); }
    QLabel *label(const char *name) const { return widget<QLabel>(form.get(), name); }
    QString storedTerm() const
    {
        return ReadVar(QStringLiteral("CurrentTerm"), program->state->IniPath);
    }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<SetTerm> form;
};

void TestSetTerm::cleanup()
{
    form.reset();
    program.reset();
}

// The term goes through the file and the loader, as at start-up, so it
// carries the loader's trailing blank.
void TestSetTerm::open(const QString &stored)
{
    program = std::make_unique<TestProgram>();
    program->writeIni({{QStringLiteral("CurrentTerm"), stored},
                       {QStringLiteral("NumberOfPrimary1"), QStringLiteral("1")},
                       {QStringLiteral("Primary1(1)"), QStringLiteral("Blue")}});
    program->prepareState();
    form = std::make_unique<SetTerm>(*program->state);
    QVERIFY(showActive(form.get()));
}

void TestSetTerm::openThenOk_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("shownYear");
    QTest::addColumn<QString>("shownLabel");
    QTest::addColumn<QString>("written"); // by OK without a change
    QTest::newRow("trailing blank shown, not written")
        << "Third Term_2005/2006" << 2 << 2005 << "Third Term_2005/2006 "
        << "Third Term_2005/2006";
    QTest::newRow("fourth term, last year")
        << "Fourth Term_2199/2200" << 3 << 2199 << "Fourth Term_2199/2200 "
        << "Fourth Term_2199/2200";
    QTest::newRow("no underscore") << "Second Term 2004/2005" << -1 << 2000 << "Academic Session"
                                   << "_2000/2001";
    QTest::newRow("small letters")
        << "first term_2010/2011" << -1 << 2010 << "first term_2010/2011 "
        << "_2010/2011";
    QTest::newRow("year 1850") << "Fourth Term_1850/1851" << 3 << 2000 << "Fourth Term_1850/1851 "
                               << "Fourth Term_2000/2001";
    QTest::newRow("year 2200") << "Second Term_2200/2201" << 1 << 2000 << "Second Term_2200/2201 "
                               << "Second Term_2000/2001";
}

void TestSetTerm::openThenOk()
{
    QFETCH(QString, stored);
    QFETCH(int, chosen);
    QFETCH(int, shownYear);
    QFETCH(QString, shownLabel);
    QFETCH(QString, written);
    open(stored);
    QCOMPARE(chosenOption(), chosen);
    QCOMPARE(year()->value(), shownYear);
    QCOMPARE(label("lblYear")->text(), QString::number(shownYear));
    QCOMPARE(label("lblTerm")->text(), shownLabel);
    // The term fits its label, the year reads beside its bar.
    QLabel *term = label("lblTerm");
    QVERIFY(term->contentsRect().width() >= term->fontMetrics().horizontalAdvance(term->text()));
    const QRect y = label("lblYear")->geometry();
    QVERIFY(y.left() >= year()->geometry().right() && qAbs(y.center().y() - year()->geometry().center().y()) <= 2);
    grabPng(form.get());

    click(form.get(), "OKButton");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(storedTerm(), written);
    QCOMPARE(program->state->classes.CurrentTerm, written);
    // Nothing else in the file moves.
    QCOMPARE(ReadVar(QStringLiteral("Primary1(1)"), program->state->IniPath),
             QStringLiteral("Blue"));
    QVERIFY(program->messages.shown.isEmpty());
}

void TestSetTerm::changeThenLeave_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Enter is OK") << "enter";
    // A folder that is not there cannot take the file.
    QTest::newRow("Enter, folder gone") << "gone";
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Esc") << "escape";
}

void TestSetTerm::changeThenLeave()
{
    QFETCH(QString, way);
    open(QStringLiteral("Fourth Term_1850/1851"));
    const bool gone = way == QLatin1String("gone");
    if (gone)
        program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    // The stored text stays until a change; then the composer takes over. A click right
    // of the handle, left of the arrow, moves one year.
    QTest::mouseClick(year(), Qt::LeftButton, {}, QPoint(year()->width() - year()->height() * 2, year()->height() / 2));
    QCOMPARE(label("lblTerm")->text(), QStringLiteral("Fourth Term_2001/2002"));
    click(form.get(), "optTerm(0)", QPoint(12, widget(form.get(), "optTerm(0)")->height() / 2)); // on its caption
    QCOMPARE(label("lblTerm")->text(), QStringLiteral("First Term_2001/2002"));
    // The bar ends at 2199.
    QTest::keyClick(year(), Qt::Key_End);
    QTest::keyClick(year(), Qt::Key_Right);
    QCOMPARE(label("lblYear")->text(), QStringLiteral("2199"));
    QCOMPARE(label("lblTerm")->text(), QStringLiteral("First Term_2199/2200"));

    if (way == QLatin1String("escape"))
        QTest::keyClick(year(), Qt::Key_Escape);
    else if (way == QLatin1String("cancel"))
        click(form.get(), "CancelButton");
    else
        QTest::keyClick(year(), Qt::Key_Return);
    QVERIFY(!form->isVisible());
    const bool ok = gone || way == QLatin1String("enter");
    QCOMPARE(form->result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
    // The session goes on with the new term even when the file could not take it.
    QCOMPARE(program->state->classes.CurrentTerm, ok ? QStringLiteral("First Term_2199/2200")
                                                     : QStringLiteral("Fourth Term_1850/1851 "));
    if (!gone)
        QCOMPARE(storedTerm(), ok ? QStringLiteral("First Term_2199/2200")
                                  : QStringLiteral("Fourth Term_1850/1851"));
    QCOMPARE(program->messages.shown.size(), gone ? 1 : 0);
    if (gone)
        QVERIFY(program->messages.texts().first().contains(program->state->IniPath));
}

QTEST_MAIN(TestSetTerm)
#include "tst_setterm.moc"
