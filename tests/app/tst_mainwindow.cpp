#include "Modal.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"
#include "platform/Database.h"
#include "platform/KeyValueFile.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTabWidget>

namespace {

void closeRecordForm(std::function<void(QDialog *)> look = {})
{
    whenModalOpens(QStringLiteral("MenData"), [look](QDialog *d) {
        if (look)
            look(d);
        d->reject();
    });
}

} // namespace

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

    void menus();
    void uponSetsRecordKind();
    void watchdogPlaysOn_data();
    void watchdogPlaysOn();
    void togglesFollowFlags();
    void guardedCommand_data();
    void guardedCommand();
    void dataEntryArrangesRecordForm_data();
    void dataEntryArrangesRecordForm();
    void missingClassStructureForcesWizard();
    void unguardedCommands();
    void exitBackup_data();
    void exitBackup();
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
    void choose(const QString &kind) { item(QStringLiteral("mnuUpon") + kind)->trigger(); }
};

// The menus in their order on the bar, each with its help context number, then
// its items: "name=caption", the shortcut and the mark at start ("[x]" checked,
// "[ ]" checkable); a separator reads "name=-".
void TestMainWindow::menus()
{
    open();
    QStringList seen;
    for (QAction *entry : w->menuBar()->actions()) {
        QMenu *m = entry->menu();
        seen << m->objectName() + u'=' + m->title() + u' ' + m->property("helpContextId").toString();
        for (QAction *a : m->actions()) {
            QString s = a->objectName() + u'=' + (a->isSeparator() ? QStringLiteral("-") : a->text());
            if (!a->shortcut().isEmpty())
                s += u' ' + a->shortcut().toString();
            if (a->isCheckable())
                s += a->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
            seen << s;
        }
    }
    QCOMPARE(seen, (QStringList{
        "mnuAction=&Action 210", "mnuActionDataEntry=&Data Entry F2 [x]", "mnuActionQuery=&Query And Report F3 [ ]",
        "mnuActionExit=E&xit",
        "mnuUpon=&Upon 220", "mnuUponStudent=&Student Ctrl+S [x]", "mnuUponStaff=Staf&f Ctrl+F [ ]", "mnuUponBar0=-",
        "mnuUponFormerStudent=Former St&udent [ ]", "mnuUponFormerStaff=Former St&aff [ ]", "mnuUponBar1=-",
        "mnuUponStock=Stoc&k Ctrl+K [ ]",
        "mnuTools=&Tools 230", "mnuToolsMusic=&Music F4 [x]", "mnuToolsVoice=&Voice Shift+F4 [x]", "mnuToolsSep0=-",
        "mnuToolsSetTerm=Set &Term", "mnuToolsRestructureClasses=Restructure &Classes",
        "mnuToolsReviseFees=Revise &Fees", "mnuToolsSep1=-", "mnuToolsAccounts=&Accounts",
        "mnuToolsImportStudents=&Import Students...", "mnuToolsSep2=-",
        "mnuToolsModifyPassword=Modify &Password",
        "mnuHelp=&Help 240", "mnuHelpContents=&Contents...", "mnuHelpSearch=&Search For Help On...",
        "mnuHelpBar1=-", "mnuHelpAbout=&About"}));
}

// One kind at a time, the mark moving with it.
void TestMainWindow::uponSetsRecordKind()
{
    p->state->RecordKind = QStringLiteral("Nothing yet");
    open();
    QCOMPARE(p->state->RecordKind, QStringLiteral("Student"));
    for (const char *kind : {"Staff", "FormerStudent", "FormerStaff", "Stock", "Student"}) {
        choose(QLatin1String(kind));
        QCOMPARE(p->state->RecordKind, QLatin1String(kind));
        QStringList checked;
        for (QAction *a : widget<QMenu>(w.get(), "mnuUpon")->actions())
            if (a->isChecked())
                checked << a->objectName();
        QCOMPARE(checked, QStringList{QStringLiteral("mnuUpon") + QLatin1String(kind)});
    }
}

void TestMainWindow::watchdogPlaysOn_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::newRow("three pieces") << QStringList{"/m/a.mid", "/m/b.mid", "/m/c.rmi"};
    QTest::newRow("one piece repeats") << QStringList{"/m/only.mid"};
    QTest::newRow("no music") << QStringList{};
}

// The intro, then the first piece; each time a piece ends the watchdog starts
// another of the list within a tick (their order is the player's own test).
void TestMainWindow::watchdogPlaysOn()
{
    QFETCH(QStringList, files);
    p->state->MusicFiles = files;
    p->state->IntroWav = QStringLiteral("/w/intro.wav");
    open();
    QCOMPARE(p->sound.calls.value(0), QStringLiteral("wave intro.wav -1"));
    const auto played = [this] { return p->sound.calls.filter(QStringLiteral("music ")); };
    if (files.isEmpty()) {
        QTest::qWait(600);
        QVERIFY(played().isEmpty());
        return;
    }
    for (int n = 2; n <= 6; ++n) {
        p->sound.playing = false;
        QTRY_COMPARE_WITH_TIMEOUT(played().size(), n, 2000);
    }
    QCOMPARE(p->sound.calls.value(1), QStringLiteral("music ") + files.first().mid(3));
    for (const QString &piece : played())
        QVERIFY(files.contains(QStringLiteral("/m/") + piece.mid(6)));
}

void TestMainWindow::togglesFollowFlags()
{
    p->state->MusicFiles = {"/m/a.mid", "/m/b.mid"};
    p->state->VoiceOn = true;
    open();
    QAction *music = item("mnuToolsMusic"), *voice = item("mnuToolsVoice");
    p->sound.calls.clear();
    music->trigger();
    voice->trigger();
    QVERIFY(!p->state->MusicOn && !music->isChecked());
    QVERIFY(!p->state->VoiceOn && !voice->isChecked());
    // With music off the watchdog starts nothing.
    QTest::qWait(400);
    QCOMPARE(p->sound.calls, QStringList{"stop music"});
    music->trigger();
    voice->trigger();
    QVERIFY(p->state->MusicOn && music->isChecked());
    QVERIFY(p->state->VoiceOn && voice->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(p->sound.calls.size(), 2, 1000);
    QVERIFY(p->sound.calls.at(1).startsWith(QStringLiteral("music ")));
}

void TestMainWindow::guardedCommand_data()
{
    QTest::addColumn<QString>("form"); // the item is "mnuTools" + the form
    QTest::addColumn<QString>("caption");
    QTest::newRow("set term") << "SetTerm" << "Login to Set Term.";
    QTest::newRow("restructure") << "RestructureClasses" << "Login to restructure classes.";
    QTest::newRow("revise fees") << "ReviseFees" << "Login to revise fees.";
    QTest::newRow("accounts") << "Accounts" << "Login to enter accounts.";
    QTest::newRow("import") << "ImportStudents" << "Login to import students.";
}

// A refused prompt opens nothing; a granted one opens the form and the grant
// ends with it.
void TestMainWindow::guardedCommand()
{
    QFETCH(QString, form);
    QFETCH(QString, caption);
    open();
    QStringList opened, seen;
    bool grantedWhileOpen = false;
    whenModalOpens(form, [&](QDialog *d) {
        grantedWhileOpen = p->state->LoginGranted;
        opened << d->objectName();
        d->reject();
    });
    answerLogin(seen, QStringLiteral("wrong"), 3);
    item(QStringLiteral("mnuTools") + form)->trigger();
    QCOMPARE(seen, QStringList{caption});
    QVERIFY(opened.isEmpty());
    answerLogin(seen, QStringLiteral(" secret "));
    item(QStringLiteral("mnuTools") + form)->trigger();
    QCOMPARE(seen.size(), 2);
    QCOMPARE(opened, QStringList{form});
    QVERIFY(grantedWhileOpen);
    QVERIFY(!p->state->LoginGranted);
    // The forms were only looked at: the class structure file is unchanged.
    QCOMPARE(ReadVar(QStringLiteral("CurrentTerm"), p->state->IniPath), QStringLiteral("Second Term_2026/2027"));
}

void TestMainWindow::dataEntryArrangesRecordForm_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("shown"); // of New, Send to Alumni and Edit
    QTest::newRow("student") << "Student" << "secret" << "NSE";
    QTest::newRow("staff") << "Staff" << "secret" << "NSE";
    QTest::newRow("former staff") << "FormerStaff" << "secret" << "E";
    QTest::newRow("stock") << "Stock" << "secret" << "NE";
    QTest::newRow("student refused") << "Student" << "wrong" << "";
}

// The buttons the kind allows; three wrong passwords leave a form where typing
// changes nothing and Find still works. Only student kinds need the class
// structure.
void TestMainWindow::dataEntryArrangesRecordForm()
{
    QFETCH(QString, kind);
    QFETCH(QString, entry);
    QFETCH(QString, shown);
    QVERIFY(QSqlQuery(p->state->db())
                .exec(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES ('N1', 'First'), ('N2', 'Second')")));
    const bool student = kind == QStringLiteral("Student");
    if (!student)
        QVERIFY(QFile::remove(p->state->IniPath));
    p->state->SchoolName = QStringLiteral("Brindlemark Grammar");
    open();
    choose(kind);
    item("mnuActionQuery")->setChecked(true);
    QStringList seen;
    answerLogin(seen, entry, 3);
    QString buttons, caption, typed, found;
    bool grantedWhileOpen = false;
    closeRecordForm([&](QDialog *d) {
        grantedWhileOpen = p->state->LoginGranted;
        caption = d->windowTitle();
        const char *names[] = {"cmdAction(8)", "cmdAction(24)", "cmdAction(9)"};
        for (int i = 0; i < 3; ++i)
            if (widget(d, names[i])->isVisibleTo(d))
                buttons += QStringLiteral("NSE").at(i);
        if (!student)
            return;
        auto *surname = widget<QLineEdit>(d, "txtSurname");
        if (shown.isEmpty()) {
            surname->setFocus();
            QTest::keyClicks(surname, QStringLiteral("xyz"));
            typed = surname->text();
        }
        auto *goTo = widget<QLineEdit>(d, "txtGoTo");
        goTo->setFocus();
        QTest::keyClicks(goTo, QStringLiteral("n1"));
        QTest::keyClick(goTo, Qt::Key_Return);
        found = surname->text();
    });
    item("mnuActionDataEntry")->trigger();
    QCOMPARE(seen, QStringList{"Login to modify records."});
    QCOMPARE(buttons, shown);
    QCOMPARE(grantedWhileOpen, !shown.isEmpty());
    QCOMPARE(caption, QStringLiteral("Brindlemark Grammar : ") + kind);
    QCOMPARE(found, student ? QStringLiteral("First") : QString());
    QCOMPARE(typed, shown.isEmpty() ? QStringLiteral("Second") : QString());
    QVERIFY(item("mnuActionDataEntry")->isChecked() && !item("mnuActionQuery")->isChecked());
    QVERIFY(!p->state->LoginGranted);
    QVERIFY(p->messages.shown.isEmpty());
    QCOMPARE(QFile::exists(p->state->IniPath), student);
}

// The operator must go through every page to Finish; the file then exists.
void TestMainWindow::missingClassStructureForcesWizard()
{
    QVERIFY(QFile::remove(p->state->IniPath));
    open();
    bool cancelEnabled = true;
    int pages = 0;
    whenModalOpens(QStringLiteral("RestructureClasses"), [&](QDialog *d) {
        cancelEnabled = widget(d, "cmdNavigate(0)")->isEnabled();
        for (auto *next = widget(d, "cmdNavigate(2)"); next->isVisible() && pages < 30; ++pages)
            click(d, "cmdNavigate(2)");
        click(d, "cmdNavigate(3)");
    });
    QStringList seen;
    answerLogin(seen, QString());
    closeRecordForm();
    item("mnuActionDataEntry")->trigger();
    QCOMPARE(p->messages.texts(), QStringList{"Initialization file for your School\r\n"
                                              "Class Structure was not found.\r\n"
                                              "It must now be created."});
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    QVERIFY(!cancelEnabled);
    QCOMPARE(pages, 18);
    // The prompt comes after the wizard.
    QCOMPARE(seen, QStringList{"Login to modify records."});
    QCOMPARE(ReadVar(QStringLiteral("NumberOfSecondary8"), p->state->IniPath), QStringLiteral("0"));
}

// Modify Password and a query on stock need no prompt; a query on staff asks
// first. Neither kind needs the class structure, so its missing file goes
// unnoticed.
void TestMainWindow::unguardedCommands()
{
    QVERIFY(QFile::remove(p->state->IniPath));
    open();
    QStringList seen;
    answerLogin(seen, QStringLiteral("secret"));
    int opened = 0;
    const auto closeWhenOpen = [&opened](const char *form) {
        whenModalOpens(QLatin1String(form), [&opened](QDialog *d) { opened += d->close(); });
    };
    closeWhenOpen("ModifyPassword");
    item("mnuToolsModifyPassword")->trigger();
    choose(QStringLiteral("Stock"));
    closeWhenOpen("QueryReport");
    item("mnuActionQuery")->trigger();
    QVERIFY(seen.isEmpty());
    choose(QStringLiteral("Staff"));
    closeWhenOpen("QueryReport");
    item("mnuActionQuery")->trigger();
    QCOMPARE(seen, QStringList{"Login to view remarks."});
    QCOMPARE(opened, 3);
    QVERIFY(item("mnuActionQuery")->isChecked() && !item("mnuActionDataEntry")->isChecked());
    QVERIFY(!p->state->LoginGranted);
    QVERIFY(p->messages.shown.isEmpty());
    QVERIFY(!QFile::exists(p->state->IniPath));
}

void TestMainWindow::exitBackup_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("says"); // in a second message; empty: none
    QTest::newRow("written") << "" << "";
    QTest::newRow("damaged database keeps the old backup") << "damaged" << "was kept as it was.";
    QTest::newRow("failed copy reported, exit goes on") << "no folder" << "The backup copy could not be written:";
}

// Exit answered No keeps everything; the close box asks the same question, and
// Yes closes the connection, writes the backup, stops music then sound.
void TestMainWindow::exitBackup()
{
    QFETCH(QString, trouble);
    QFETCH(QString, says);
    p->copyEmptyDatabaseTo(QString::fromLatin1(Database::BackupFileName));
    const QByteArray oldBackup = fileBytes(p->state->backupFile());
    QVERIFY(QSqlQuery(p->state->db()).exec(QStringLiteral("INSERT INTO Student (Number) VALUES ('S-9')")));
    open();
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    p->messages.setNextAnswer(MessageBoxes::No);
    item("mnuActionExit")->trigger();
    QVERIFY(w->isVisible() && p->state->db().isOpen());
    QCOMPARE(fileBytes(p->state->backupFile()), oldBackup);
    QCOMPARE(exited.size(), 0);

    if (trouble == QStringLiteral("damaged")) {
        Database::close(p->state->DbConnection);
        p->writeFile(QString::fromLatin1(Database::FileName), QByteArray(8192, 'x'));
    } else if (!trouble.isEmpty()) {
        QVERIFY(QDir(p->file(QStringLiteral("Backup"))).removeRecursively());
    }
    p->sound.calls.clear();
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(exited.size(), 1);
    QVERIFY(!p->state->db().isOpen());
    QCOMPARE(p->sound.calls, (QStringList{"stop music", "stop wave"}));
    QCOMPARE(p->messages.texts().mid(0, 2), QStringList(2, QStringLiteral("Are you sure you want to exit?")));
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No);
    const int messages = says.isEmpty() ? 2 : 3;
    QCOMPARE(p->messages.shown.size(), messages);
    if (!says.isEmpty()) {
        QVERIFY(p->messages.shown.at(2).text.contains(says));
        QCOMPARE(p->messages.shown.at(2).icon, MessageBoxes::Icon::Exclamation);
    }
    if (trouble.isEmpty()) {
        QCOMPARE(column(p->state->backupFile(), QStringLiteral("SELECT Number FROM Student")),
                 QStringList{"S-9"});
        QVERIFY(!(QFile::permissions(p->state->backupFile()) & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
    } else {
        QCOMPARE(fileBytes(p->state->backupFile()), trouble == QStringLiteral("damaged") ? oldBackup : QByteArray());
    }
    // Closing again does not ask a second time.
    w->close();
    QCOMPARE(p->messages.shown.size(), messages);
}

// The road of a bill: the student found, billed from the schedule, paid,
// stored, and the backup written on the way out.
void TestMainWindow::typicalBillFromFindToBackup()
{
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("UPDATE Fees SET Tuition = 500, Sports = 30, Books = 80 WHERE Class_Level = 'Primary1'")));
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Class_Level, Class_Arm, "
                                  "Address, Debt_From_Last_Term, Amount_Payable, Cummulative_Paid, Financial_Balance) "
                                  "VALUES ('S-9', 'Okafor', 'Chidi', 'Primary1', 'Blue', 'Palm Road', 20, 20, 0, -20), "
                                  "('S-10', 'Bello', 'Amina', 'Primary2', 'Green', 'Ring Road', 0, 0, 0, 0)")));
    open();
    item("mnuUponStaff")->trigger();
    item("mnuUponStudent")->trigger();
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
    const QString bill = QStringLiteral("SELECT Bill_This_Term || '|' || Amount_Payable || '|' || "
                                        "Cummulative_Paid || '|' || Financial_Balance FROM Student WHERE Number = 'S-9'");
    const QStringList expected{"Tuition = 500\r\nSports = 30\r\n|550.0|300.0|-250.0"};
    QCOMPARE(column(p->state->databaseFile(), bill), expected);
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
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
