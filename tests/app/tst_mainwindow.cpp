#include "Modal.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"
#include "platform/Database.h"
#include "platform/KeyValueFile.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTabWidget>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->writeTypicalIni();
        p->prepareState();
        p->state->PasswordHash = HashPassword(QStringLiteral("Secret"));
        p->state->VoiceOn = false;
    }
    void cleanup()
    {
        cancelPendingModals();
        if (w)
            w->abandon();
        w.reset();
        p.reset();
    }

    void menusAndRecordKind();
    void music();
    void guardedCommands();
    void formsWithoutClassStructure();
    void typicalBillFromFindToBackup();
    void placedWithLogoWhenPresent();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<KolvaneMain> w;
    void open()
    {
        w = std::make_unique<KolvaneMain>(*p->state);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    QAction *item(const QString &name) const
    {
        QAction *a = widget<QAction>(w.get(), name);
        if (!a)
            qFatal("no menu item %s", qPrintable(name));
        return a;
    }
    QAction *item(const char *name) const { return item(QString::fromLatin1(name)); }
    void choose(const char *kind)
    {
        item(QStringLiteral("mnuUpon") + QLatin1String(kind))->trigger();
    }
    // Data Entry answered with `entry`: the prompt's caption, the record form's,
    // which of New, Send to Alumni and Edit it shows, and whether the grant held
    // while it was open. `more` acts in the form before it closes.
    QString dataEntry(const QString &entry, const std::function<void(QDialog *)> &more = {})
    {
        QStringList seen;
        answerLogin(seen, entry, 3);
        whenModalOpens(QStringLiteral("MenData"), [&](QDialog *d) {
            seen << d->windowTitle() + (p->state->LoginGranted ? QStringLiteral(" granted ")
                                                               : QStringLiteral(" "));
            const char *names[] = {"cmdAction(8)", "cmdAction(24)", "cmdAction(9)"};
            for (int i = 0; i < 3; ++i)
                if (widget(d, names[i])->isVisibleTo(d))
                    seen.last() += QStringLiteral("NSE").at(i);
            if (more)
                more(d);
            d->reject();
        });
        item("mnuActionDataEntry")->trigger();
        return seen.join(u'|');
    }
};

// The menus in their order, each as its caption, then each item's caption,
// shortcut and mark ("[x]" checked, "[ ]" checkable; a separator reads "-").
// Upon holds one kind at a time, the mark moving with it.
void TestMainWindow::menusAndRecordKind()
{
    p->state->RecordKind = QStringLiteral("Nothing yet");
    open();
    const auto menus = [this] {
        QStringList seen;
        for (QAction *entry : w->menuBar()->actions()) {
            QStringList items;
            for (QAction *a : entry->menu()->actions()) {
                items << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (!a->shortcut().isEmpty())
                    items.last() += u' ' + a->shortcut().toString();
                if (a->isCheckable())
                    items.last() +=
                        a->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
            }
            seen << entry->text() + QStringLiteral(": ") + items.join(QStringLiteral(" | "));
        }
        return seen;
    };
    QCOMPARE(menus(), (QStringList{"&Action: &Data Entry F2 [x] | &Query And Report F3 [ ] | E&xit",
                                   "&Upon: &Student Ctrl+S [x] | Staf&f Ctrl+F [ ] | - | Former "
                                   "St&udent [ ] | Former St&aff [ ] | - | "
                                   "Stoc&k Ctrl+K [ ]",
                                   "&Tools: &Music F4 [x] | &Voice Shift+F4 [x] | - | Set &Term | "
                                   "Restructure &Classes | Revise &Fees | - | "
                                   "&Accounts | &Import Students... | - | Modify &Password",
                                   "&Help: &Contents... | &Search For Help On... | - | &About"}));
    QCOMPARE(p->state->RecordKind, QStringLiteral("Student"));
    choose("Stock");
    choose("FormerStudent");
    QCOMPARE(p->state->RecordKind, QStringLiteral("FormerStudent"));
    QCOMPARE(
        menus().at(1),
        QStringLiteral("&Upon: &Student Ctrl+S [ ] | Staf&f Ctrl+F [ ] | - | Former St&udent [x] | "
                       "Former St&aff [ ] | - | Stoc&k Ctrl+K [ ]"));
}

// The intro first. The watchdog starts nothing while there is no music, the
// first piece once there is, then another of the list within a tick each time
// one ends (their order is the player's own test). Music off stops the piece
// and the watchdog with it; on again, it plays on. Voice flips its flag.
void TestMainWindow::music()
{
    p->state->IntroWav = QStringLiteral("/w/intro.wav");
    p->state->VoiceOn = true;
    open();
    QTest::qWait(600);
    QCOMPARE(p->sound.calls, QStringList{"wave intro.wav -1"});
    const QStringList files{"/m/a.mid", "/m/b.mid", "/m/c.rmi"};
    p->state->MusicFiles = files;
    const auto played = [this] { return p->sound.calls.filter(QStringLiteral("music ")); };
    for (int n = 1; n <= 5; ++n) { // past the end of the list and round again
        p->sound.playing = false;
        QTRY_COMPARE_WITH_TIMEOUT(played().size(), n, 2000);
    }
    QCOMPARE(played().first(), QStringLiteral("music a.mid"));
    for (const QString &piece : played())
        QVERIFY(files.contains(QStringLiteral("/m/") + piece.mid(6)));
    QAction *musicItem = item("mnuToolsMusic"), *voice = item("mnuToolsVoice");
    p->sound.calls.clear();
    musicItem->trigger();
    voice->trigger();
    QVERIFY(!p->state->MusicOn && !musicItem->isChecked());
    QVERIFY(!p->state->VoiceOn && !voice->isChecked());
    p->sound.playing = false;
    QTest::qWait(400);
    QCOMPARE(p->sound.calls, QStringList{"stop music"});
    musicItem->trigger();
    voice->trigger();
    QVERIFY(p->state->MusicOn && musicItem->isChecked());
    QVERIFY(p->state->VoiceOn && voice->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(played().size(), 1, 1000);
}

// A refused prompt opens nothing; a granted one opens the form and the grant
// ends with it.
void TestMainWindow::guardedCommands()
{
    open();
    const QList<std::pair<const char *, const char *>> commands = {
        {"SetTerm", "Login to Set Term."},
        {"RestructureClasses", "Login to restructure classes."},
        {"ReviseFees", "Login to revise fees."},
        {"Accounts", "Login to enter accounts."},
        {"ImportStudents", "Login to import students."}};
    for (const auto &[form, caption] : commands) {
        const QString name = QLatin1String(form);
        QStringList opened, seen;
        whenModalOpens(name, [&](QDialog *d) {
            opened << d->objectName() +
                          (p->state->LoginGranted ? QStringLiteral(" granted") : QString());
            d->reject();
        });
        answerLogin(seen, QStringLiteral("wrong"), 3);
        item(QStringLiteral("mnuTools") + name)->trigger();
        QCOMPARE(seen, QStringList{QLatin1String(caption)});
        QVERIFY2(opened.isEmpty(), form);
        answerLogin(seen, QStringLiteral(" secret "));
        item(QStringLiteral("mnuTools") + name)->trigger();
        QCOMPARE(seen.size(), 2);
        QCOMPARE(opened, QStringList{name + QStringLiteral(" granted")});
        QVERIFY(!p->state->LoginGranted);
    }
    // The forms were only looked at: the class structure file is unchanged.
    QCOMPARE(ReadVar(QStringLiteral("CurrentTerm"), p->state->IniPath),
             QStringLiteral("Second Term_2026/2027"));
}

// With the class structure file gone: Modify Password and a query on stock
// open with no prompt, a query on staff asks first. Data Entry asks, and the
// record form shows the buttons its kind allows, the grant holding while it is
// open. None of these kinds needs the class structure, so the missing file goes
// unnoticed until Data Entry on students forces the wizard before the prompt.
// The exit then goes on without a backup.
void TestMainWindow::formsWithoutClassStructure()
{
    QVERIFY(
        QSqlQuery(p->state->db())
            .exec(QStringLiteral(
                "INSERT INTO Student (Number, Surname) VALUES ('N1', 'First'), ('N2', 'Second')")));
    QVERIFY(QFile::remove(p->state->IniPath));
    p->state->SchoolName = QStringLiteral("Brindlemark Grammar");
    open();
    QStringList seen;
    answerLogin(seen, QStringLiteral("secret"));
    int opened = 0;
    const auto closeWhenOpen = [&opened](const char *form) {
        whenModalOpens(QLatin1String(form), [&opened](QDialog *d) { opened += d->close(); });
    };
    closeWhenOpen("ModifyPassword");
    item("mnuToolsModifyPassword")->trigger();
    choose("Stock");
    closeWhenOpen("QueryReport");
    item("mnuActionQuery")->trigger();
    QVERIFY(seen.isEmpty());
    choose("Staff");
    closeWhenOpen("QueryReport");
    item("mnuActionQuery")->trigger();
    QCOMPARE(seen, QStringList{"Login to view remarks."});
    QCOMPARE(opened, 3);
    QVERIFY(item("mnuActionQuery")->isChecked() && !item("mnuActionDataEntry")->isChecked());
    QVERIFY(!p->state->LoginGranted);

    const QString prompt = QStringLiteral("Login to modify records.|Brindlemark Grammar : ");
    QCOMPARE(dataEntry(QStringLiteral("secret")), prompt + QStringLiteral("Staff granted NSE"));
    QVERIFY(item("mnuActionDataEntry")->isChecked() && !item("mnuActionQuery")->isChecked());
    QVERIFY(!p->state->LoginGranted);
    choose("FormerStaff");
    QCOMPARE(dataEntry(QStringLiteral("secret")), prompt + QStringLiteral("FormerStaff granted E"));
    choose("Stock");
    QCOMPARE(dataEntry(QStringLiteral("secret")), prompt + QStringLiteral("Stock granted NE"));
    QVERIFY(p->messages.shown.isEmpty());
    QVERIFY(!QFile::exists(p->state->IniPath));

    // The operator must go through every page to Finish; the file then exists.
    bool cancelEnabled = true;
    int pages = 0;
    whenModalOpens(QStringLiteral("RestructureClasses"), [&](QDialog *d) {
        cancelEnabled = widget(d, "cmdNavigate(0)")->isEnabled();
        for (auto *next = widget(d, "cmdNavigate(2)"); next->isVisible() && pages < 30; ++pages)
            click(d, "cmdNavigate(2)");
        click(d, "cmdNavigate(3)");
    });
    // Three wrong passwords leave a form where typing changes nothing and Find still works.
    QString typed;
    choose("Student");
    const QString shown = dataEntry(QStringLiteral("wrong"), [&typed](QDialog *d) {
        auto *surname = widget<QLineEdit>(d, "txtSurname");
        surname->setFocus();
        QTest::keyClicks(surname, QStringLiteral("xyz"));
        typed = surname->text() + u'|';
        auto *goTo = widget<QLineEdit>(d, "txtGoTo");
        goTo->setFocus();
        QTest::keyClicks(goTo, QStringLiteral("n1"));
        QTest::keyClick(goTo, Qt::Key_Return);
        typed += surname->text();
    });
    QCOMPARE(shown, prompt + QStringLiteral("Student "));
    QCOMPARE(typed, QStringLiteral("Second|First"));
    QCOMPARE(p->messages.texts(), QStringList{"Initialization file for your School\r\n"
                                              "Class Structure was not found.\r\n"
                                              "It must now be created."});
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    QVERIFY(!cancelEnabled);
    QCOMPARE(pages, 18);
    QCOMPARE(ReadVar(QStringLiteral("NumberOfSecondary8"), p->state->IniPath), QStringLiteral("0"));

    // With the Backup folder gone the exit goes on: the failure is reported,
    // the connection closed, music then sound stopped. Closing again does not ask.
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    QVERIFY(QDir(p->file(QStringLiteral("Backup"))).removeRecursively());
    p->sound.calls.clear();
    p->messages.clear();
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(exited.size(), 1);
    QVERIFY(!p->state->db().isOpen());
    QCOMPARE(p->sound.calls, (QStringList{"stop music", "stop wave"}));
    QCOMPARE(p->messages.shown.size(), 2);
    const QString said = p->messages.shown.at(1).text;
    QVERIFY2(said.startsWith(QStringLiteral("The backup copy could not be written:")),
             qPrintable(said));
    QVERIFY2(said.endsWith(QStringLiteral("The last backup copy was kept as it was.")),
             qPrintable(said));
    QCOMPARE(p->messages.shown.at(1).icon, MessageBoxes::Icon::Exclamation);
    w->close();
    QCOMPARE(p->messages.shown.size(), 2);
}

// The road of a bill: the student found, billed from the schedule, paid,
// stored. Exit answered No keeps everything; the close box asks the same
// question, and Yes writes the backup on the way out.
void TestMainWindow::typicalBillFromFindToBackup()
{
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral(
        "UPDATE Fees SET Tuition = 500, Sports = 30, Books = 80 WHERE Class_Level = 'Primary1'")));
    QVERIFY(q.exec(QStringLiteral(
        "INSERT INTO Student (Number, Surname, Other_Names, Class_Level, Class_Arm, "
        "Address, Debt_From_Last_Term, Amount_Payable, Cummulative_Paid, Financial_Balance) "
        "VALUES ('S-9', 'Okafor', 'Chidi', 'Primary1', 'Blue', 'Palm Road', 20, 20, 0, -20), "
        "('S-10', 'Bello', 'Amina', 'Primary2', 'Green', 'Ring Road', 0, 0, 0, 0)")));
    open();
    QStringList seen;
    answerLogin(seen, QStringLiteral("Secret"));
    QString caption;
    whenModalOpens(QStringLiteral("MenData"), [&](QDialog *d) {
        click(d, "txtGoTo");
        QTest::keyClicks(widget(d, "txtGoTo"), QStringLiteral("S-9"));
        click(d, "cmdAction(7)");
        click(d, "cmdAction(9)");
        widget<QTabWidget>(d, "SSTab1")->setCurrentIndex(1);
        whenModalOpens(QStringLiteral("SelectFees"), [&caption](QDialog *fees) {
            caption = fees->windowTitle();
            for (const char *name : {"Tuition", "Sports"})
                clickLine(widget<QListWidget>(fees, "lstFees"), QLatin1String(name));
            click(fees, "cmdOK");
        });
        click(d, "cmdBill");
        QVERIFY(showActive(d));
        retype(widget<QLineEdit>(d, "txtCummulativePaid"), QStringLiteral("300"));
        QTest::keyClick(widget(d, "txtCummulativePaid"), Qt::Key_Tab);
        click(d, "cmdAction(10)");
        d->reject();
    });
    item("mnuActionDataEntry")->trigger();
    QCOMPARE(seen, QStringList{"Login to modify records."});
    QCOMPARE(caption, QStringLiteral("Select Fees for Primary1"));
    QVERIFY2(p->messages.shown.isEmpty(), qPrintable(p->messages.texts().join(u'|')));
    const QString bill = QStringLiteral(
        "SELECT Bill_This_Term || '|' || Amount_Payable || '|' || "
        "Cummulative_Paid || '|' || Financial_Balance FROM Student WHERE Number = 'S-9'");
    const QStringList expected{"Tuition = 500\r\nSports = 30\r\n|550.0|300.0|-250.0"};
    QCOMPARE(column(p->state->databaseFile(), bill), expected);
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    p->messages.setNextAnswer(MessageBoxes::No);
    item("mnuActionExit")->trigger();
    QVERIFY(w->isVisible() && p->state->db().isOpen());
    QVERIFY(QDir(p->file(QStringLiteral("Backup"))).isEmpty());
    QCOMPARE(exited.size(), 0);
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(exited.size(), 1);
    QCOMPARE(p->messages.texts(), QStringList(2, QStringLiteral("Are you sure you want to exit?")));
    QCOMPARE(p->messages.shown.at(1).buttons,
             MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No);
    QCOMPARE(column(p->state->backupFile(), bill), expected);
}

// Inside the screen's free area, title bar included (this bites under a window
// manager: run it with xcb); the school's logo over the whole client area when
// there is one, found whatever its letter case.
void TestMainWindow::placedWithLogoWhenPresent()
{
    open();
    QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
    QVERIFY(!widget(w.get(), "imgLogo")->isVisible());
    grabPng(w.get());
    w->abandon();
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(0x80, 0x20, 0x20));
    QVERIFY(picture.save(p->file(QStringLiteral("Pictures/schoollogo.GIF")), "PNG"));
    open();
    auto *logo = widget(w.get(), "imgLogo");
    QVERIFY(logo->isVisible());
    QCOMPARE(logo->geometry(), w->centralWidget()->rect());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
