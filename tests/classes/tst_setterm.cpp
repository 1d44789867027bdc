#include "TestProgram.h"
#include "classes/ClassStructure.h"
#include "classes/SetTerm.h"
#include "platform/KeyValueFile.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

// The term form driven as an operator would, over a stored term.
class TestSetTerm : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void openThenOk_data();
    void openThenOk();
    void fourthTermLastYear();
    void cancelWritesNothing_data();
    void cancelWritesNothing();
    void failedWriteIsReported();
    void looksRight();

private:
    void open(const QString &stored);
    int chosenOption() const;
    // On the caption, where an operator clicks.
    void clickOption(int i)
    {
        QTest::mouseClick(option(i), Qt::LeftButton, {}, QPoint(12, option(i)->height() / 2));
    }
    void focusYear()
    {
        year()->setFocus();
        QTRY_VERIFY(year()->hasFocus());
    }
    QScrollBar *year() const { return form->findChild<QScrollBar *>(QStringLiteral("hscYear")); }
    QString label(const char *name) const
    {
        return form->findChild<QLabel *>(QLatin1String(name))->text();
    }
    QRadioButton *option(int i) const
    {
        return form->findChild<QRadioButton *>(QStringLiteral("optTerm(%1)").arg(i));
    }
    QPushButton *button(const char *name) const
    {
        return form->findChild<QPushButton *>(QLatin1String(name));
    }
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
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

int TestSetTerm::chosenOption() const
{
    int chosen = -1;
    for (int i = 0; i < 4; ++i) {
        if (option(i)->isChecked()) {
            if (chosen >= 0)
                return -2;
            chosen = i;
        }
    }
    return chosen;
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
    QTest::newRow("two underscores") << "Second Term_2007_x" << 1 << 2007 << "Second Term_2007_x "
                                     << "Second Term_2007/2008";
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
    QCOMPARE(label("lblYear"), QString::number(shownYear));
    QCOMPARE(label("lblTerm"), shownLabel);

    QTest::mouseClick(button("OKButton"), Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(storedTerm(), written);
    QCOMPARE(program->state->classes.CurrentTerm, written);
    // Nothing else in the file moves.
    QCOMPARE(ReadVar(QStringLiteral("Primary1(1)"), program->state->IniPath),
             QStringLiteral("Blue"));
    QVERIFY(program->messages.shown.isEmpty());
}

void TestSetTerm::fourthTermLastYear()
{
    open(QStringLiteral("Fourth Term_1850/1851"));
    focusYear();
    // The stored text stays until a change; then the composer takes over.
    QTest::keyClick(year(), Qt::Key_Left);
    QCOMPARE(label("lblTerm"), QStringLiteral("Fourth Term_1999/2000"));
    clickOption(0);
    QCOMPARE(label("lblTerm"), QStringLiteral("First Term_1999/2000"));
    clickOption(3);
    QCOMPARE(chosenOption(), 3);
    focusYear();
    QTest::keyClick(year(), Qt::Key_Home);
    QCOMPARE(label("lblTerm"), QStringLiteral("Fourth Term_1900/1901"));
    QTest::keyClick(year(), Qt::Key_End);
    QCOMPARE(label("lblYear"), QStringLiteral("2199"));
    QCOMPARE(label("lblTerm"), QStringLiteral("Fourth Term_2199/2200"));
    // The bar goes no further.
    QTest::keyClick(year(), Qt::Key_Right);
    QCOMPARE(year()->value(), 2199);
    // Enter is OK.
    QTest::keyClick(year(), Qt::Key_Return);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(storedTerm(), QStringLiteral("Fourth Term_2199/2200"));
    QCOMPARE(program->state->classes.CurrentTerm, QStringLiteral("Fourth Term_2199/2200"));
}

void TestSetTerm::cancelWritesNothing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Esc") << true;
}

void TestSetTerm::cancelWritesNothing()
{
    QFETCH(bool, escape);
    open(QStringLiteral("Second Term_2004/2005"));
    QFile file(program->state->IniPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    clickOption(0);
    focusYear();
    QTest::keyClick(year(), Qt::Key_PageUp);
    QVERIFY(label("lblTerm") != QStringLiteral("Second Term_2004/2005 "));
    if (escape)
        QTest::keyClick(year(), Qt::Key_Escape);
    else
        QTest::mouseClick(button("CancelButton"), Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Rejected));
    QVERIFY(!form->isVisible());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(program->state->classes.CurrentTerm, QStringLiteral("Second Term_2004/2005 "));
}

void TestSetTerm::failedWriteIsReported()
{
    open(QStringLiteral("Second Term_2004/2005"));
    program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    clickOption(2);
    QTest::mouseClick(button("OKButton"), Qt::LeftButton);
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(program->messages.shown.size(), 1);
    const auto &shown = program->messages.shown.first();
    QVERIFY(shown.text.startsWith(QStringLiteral("The current term could not be saved to")));
    QVERIFY(shown.text.contains(program->state->IniPath));
    QCOMPARE(shown.icon, MessageBoxes::Icon::Exclamation);
    // The session goes on with the new term.
    QCOMPARE(program->state->classes.CurrentTerm, QStringLiteral("Third Term_2004/2005"));
}

void TestSetTerm::looksRight()
{
    open(QStringLiteral("Second Term_2004/2005"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Set Current Term"));
    QVERIFY(button("OKButton")->isDefault());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(option(i)->text(), SetTerm::termCaptions().at(i));
    // The longest term text fits its label.
    clickOption(3);
    auto *term = form->findChild<QLabel *>(QStringLiteral("lblTerm"));
    QVERIFY(term->contentsRect().width() >=
            term->fontMetrics().horizontalAdvance(QStringLiteral("Fourth Term_2199/2200")));
    // Tab: the chosen term, the year, OK, Cancel.
    for (QWidget *next :
         {static_cast<QWidget *>(year()), static_cast<QWidget *>(button("OKButton")),
          static_cast<QWidget *>(button("CancelButton"))}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // The year reads beside its bar.
    auto *yearLabel = form->findChild<QLabel *>(QStringLiteral("lblYear"));
    QVERIFY(yearLabel->geometry().left() >= year()->geometry().right());
    QVERIFY(qAbs(yearLabel->geometry().center().y() - year()->geometry().center().y()) <= 2);
    const QString grab = qEnvironmentVariable("KOLVANE_GRAB_DIR");
    if (!grab.isEmpty())
        QVERIFY(form->grab().save(grab + QStringLiteral("/setterm.png")));
}

QTEST_MAIN(TestSetTerm)
#include "tst_setterm.moc"
