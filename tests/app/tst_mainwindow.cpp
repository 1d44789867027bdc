#include "Modal.h"
#include "TestProgram.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"
#include "platform/Database.h"
#include "platform/KeyValueFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

namespace {

struct PromptAnswer
{
    QStringList captions;
};

void answerPrompt(PromptAnswer &seen, const QString &entry, int times = 1)
{
    answerLogin(seen.captions, entry, times);
}

void closeRecordForm(std::function<void(QDialog *)> look = {})
{
    whenModalOpens(QStringLiteral("MenData"), [look](QDialog *d) {
        if (look)
            look(d);
        d->reject();
    });
}

QAction *item(KolvaneMain &w, const char *name)
{
    auto *a = w.findChild<QAction *>(QString::fromLatin1(name));
    if (!a)
        qFatal("no menu item %s", name);
    return a;
}

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    void watchdogPlaysInOrder_data();
    void watchdogPlaysInOrder();
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
    void logoShownWhenPresent();
    void placedInsideTheFreeArea();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<KolvaneMain> w;
    void open()
    {
        w = std::make_unique<KolvaneMain>(*p->state);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void choose(const QString &kind) { item(*w, qPrintable(QStringLiteral("mnuUpon") + kind))->trigger(); }
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
        "mnuToolsReviseFees=Revise &Fees", "mnuToolsSep1=-", "mnuToolsAccounts=&Accounts", "mnuToolsSep2=-",
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
        for (QAction *a : w->findChild<QMenu *>(QStringLiteral("mnuUpon"))->actions())
            if (a->isChecked())
                checked << a->objectName();
        QCOMPARE(checked, QStringList{QStringLiteral("mnuUpon") + QLatin1String(kind)});
    }
}

void TestMainWindow::watchdogPlaysInOrder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::newRow("three pieces") << QStringList{"/m/a.mid", "/m/b.mid", "/m/c.rmi"};
    QTest::newRow("one piece repeats") << QStringList{"/m/only.mid"};
    QTest::newRow("no music") << QStringList{};
}

// The intro, then the first piece; each time a piece ends the watchdog starts
// the next within a tick: a random one, then on in list order.
void TestMainWindow::watchdogPlaysInOrder()
{
    QFETCH(QStringList, files);
    p->state->MusicFiles = files;
    p->state->IntroWav = QStringLiteral("/w/intro.wav");
    open();
    QCOMPARE(p->sound.calls.value(0), QStringLiteral("wave intro.wav -1"));
    auto played = [this] {
        QStringList pieces;
        for (const QString &c : p->sound.calls)
            if (c.startsWith(QStringLiteral("music ")))
                pieces << QStringLiteral("/m/") + c.mid(6);
        return pieces;
    };
    if (files.isEmpty()) {
        QTest::qWait(600);
        QVERIFY(played().isEmpty());
        return;
    }
    for (int n = 2; n <= 6; ++n) {
        p->sound.playing = false;
        QTRY_COMPARE_WITH_TIMEOUT(played().size(), n, 2000);
    }
    const QStringList pieces = played();
    QCOMPARE(p->sound.calls.value(1), QStringLiteral("music ") + files.first().mid(3));
    const int start = static_cast<int>(files.indexOf(pieces.at(1)));
    QVERIFY(start >= 0);
    for (int i = 1; i < pieces.size(); ++i)
        QCOMPARE(pieces.at(i), files.at((start + i - 1) % files.size()));
}

void TestMainWindow::togglesFollowFlags()
{
    p->state->MusicFiles = {"/m/a.mid", "/m/b.mid"};
    p->state->VoiceOn = true;
    open();
    QAction *music = item(*w, "mnuToolsMusic");
    QAction *voice = item(*w, "mnuToolsVoice");
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
}

// A refused prompt opens nothing; a granted one opens the form and the grant
// ends with it.
void TestMainWindow::guardedCommand()
{
    QFETCH(QString, form);
    QFETCH(QString, caption);
    const QByteArray name = "mnuTools" + form.toLatin1();
    open();
    QSignalSpy requested(w.get(), &KolvaneMain::formRequested);
    QStringList opened;
    bool grantedWhileOpen = false;
    whenModalOpens(form, [&](QDialog *d) {
        grantedWhileOpen = p->state->LoginGranted;
        opened << d->objectName();
        d->reject();
    });
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("wrong"), 3);
    item(*w, name.constData())->trigger();
    QCOMPARE(seen.captions, QStringList{caption});
    QVERIFY(opened.isEmpty());
    QCOMPARE(requested.size(), 0);

    answerPrompt(seen, QStringLiteral(" secret "));
    item(*w, name.constData())->trigger();
    QCOMPARE(seen.captions.size(), 2);
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
    item(*w, "mnuActionQuery")->setChecked(true);
    PromptAnswer seen;
    answerPrompt(seen, entry, 3);
    QString buttons, caption, typed, found;
    bool grantedWhileOpen = false;
    closeRecordForm([&](QDialog *d) {
        grantedWhileOpen = p->state->LoginGranted;
        caption = d->windowTitle();
        const char *names[] = {"cmdAction(8)", "cmdAction(24)", "cmdAction(9)"};
        for (int i = 0; i < 3; ++i)
            if (d->findChild<QWidget *>(QString::fromLatin1(names[i]))->isVisibleTo(d))
                buttons += QStringLiteral("NSE").at(i);
        if (!student)
            return;
        auto *surname = d->findChild<QLineEdit *>(QStringLiteral("txtSurname"));
        if (shown.isEmpty()) {
            surname->setFocus();
            QTest::keyClicks(surname, QStringLiteral("xyz"));
            typed = surname->text();
        }
        auto *goTo = d->findChild<QLineEdit *>(QStringLiteral("txtGoTo"));
        goTo->setFocus();
        QTest::keyClicks(goTo, QStringLiteral("n1"));
        QTest::keyClick(goTo, Qt::Key_Return);
        found = surname->text();
    });
    item(*w, "mnuActionDataEntry")->trigger();
    QCOMPARE(seen.captions, QStringList{"Login to modify records."});
    QCOMPARE(buttons, shown);
    QCOMPARE(grantedWhileOpen, !shown.isEmpty());
    QCOMPARE(caption, QStringLiteral("Brindlemark Grammar : ") + kind);
    QCOMPARE(found, student ? QStringLiteral("First") : QString());
    QCOMPARE(typed, shown.isEmpty() ? QStringLiteral("Second") : QString());
    QVERIFY(item(*w, "mnuActionDataEntry")->isChecked());
    QVERIFY(!item(*w, "mnuActionQuery")->isChecked());
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
        cancelEnabled = d->findChild<QPushButton *>(QStringLiteral("cmdNavigate(0)"))->isEnabled();
        auto *next = d->findChild<QPushButton *>(QStringLiteral("cmdNavigate(2)"));
        while (next->isVisible() && pages < 30) {
            QTest::mouseClick(next, Qt::LeftButton);
            ++pages;
        }
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdNavigate(3)")), Qt::LeftButton);
    });
    PromptAnswer seen;
    answerPrompt(seen, QString());
    closeRecordForm();
    item(*w, "mnuActionDataEntry")->trigger();

    QCOMPARE(p->messages.texts(), QStringList{"Initialization file for your School\r\n"
                                              "Class Structure was not found.\r\n"
                                              "It must now be created."});
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    QVERIFY(!cancelEnabled);
    QCOMPARE(pages, 18);
    // The prompt comes after the wizard.
    QCOMPARE(seen.captions, QStringList{"Login to modify records."});
    QCOMPARE(ReadVar(QStringLiteral("NumberOfSecondary8"), p->state->IniPath), QStringLiteral("0"));
}

// Modify Password and a query on stock need no prompt; a query on staff asks
// first. Neither kind needs the class structure, so its missing file goes
// unnoticed.
void TestMainWindow::unguardedCommands()
{
    QVERIFY(QFile::remove(p->state->IniPath));
    open();
    QSignalSpy requested(w.get(), &KolvaneMain::formRequested);
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("secret"));
    bool opened = false;
    whenModalOpens(QStringLiteral("ModifyPassword"), [&opened](QDialog *d) { opened = d->close(); });
    item(*w, "mnuToolsModifyPassword")->trigger();
    QVERIFY(opened);
    int queries = 0;
    auto closeQuery = [&queries] {
        whenModalOpens(QStringLiteral("QueryReport"), [&queries](QDialog *d) { queries += d->close(); });
    };
    choose(QStringLiteral("Stock"));
    closeQuery();
    item(*w, "mnuActionQuery")->trigger();
    QVERIFY(seen.captions.isEmpty());
    choose(QStringLiteral("Staff"));
    closeQuery();
    item(*w, "mnuActionQuery")->trigger();
    QCOMPARE(seen.captions, QStringList{"Login to view remarks."});
    QCOMPARE(queries, 2);
    QCOMPARE(requested.size(), 0);
    QVERIFY(item(*w, "mnuActionQuery")->isChecked());
    QVERIFY(!item(*w, "mnuActionDataEntry")->isChecked());
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
    const QByteArray oldBackup = contents(p->state->backupFile());
    QVERIFY(QSqlQuery(p->state->db()).exec(QStringLiteral("INSERT INTO Student (Number) VALUES ('S-9')")));
    open();
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    p->messages.setNextAnswer(MessageBoxes::No);
    item(*w, "mnuActionExit")->trigger();
    QVERIFY(w->isVisible() && p->state->db().isOpen());
    QCOMPARE(contents(p->state->backupFile()), oldBackup);
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
    const QByteArray backup = contents(p->state->backupFile());
    if (trouble.isEmpty()) {
        QCOMPARE(column(p->state->backupFile(), QStringLiteral("SELECT Number FROM Student")),
                 QStringList{"S-9"});
        QVERIFY(!(QFile::permissions(p->state->backupFile()) & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
    } else {
        QCOMPARE(backup, trouble == QStringLiteral("damaged") ? oldBackup : QByteArray());
    }
    // Closing again does not ask a second time.
    w->close();
    QCOMPARE(p->messages.shown.size(), messages);
}

// The road of a bill: the student found, billed from the schedule, paid,
// stored, and the backup written on the way out.
void TestMainWindow::typicalBillFromFindToBackup()
{
    {
        QSqlQuery q(p->state->db());
        QVERIFY(q.exec(QStringLiteral("UPDATE Fees SET Tuition = 500, Sports = 30, Books = 80 WHERE Class_Level = 'Primary1'")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Class_Level, Class_Arm, "
                                      "Address, Debt_From_Last_Term, Amount_Payable, Cummulative_Paid, Financial_Balance) "
                                      "VALUES ('S-9', 'Okafor', 'Chidi', 'Primary1', 'Blue', 'Palm Road', 20, 20, 0, -20), "
                                      "('S-10', 'Bello', 'Amina', 'Primary2', 'Green', 'Ring Road', 0, 0, 0, 0)")));
    }
    open();
    item(*w, "mnuUponStaff")->trigger();
    item(*w, "mnuUponStudent")->trigger();
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("Secret"));
    QString caption;
    whenModalOpens(QStringLiteral("MenData"), [&](QDialog *d) {
        auto button = [d](const QString &name) { return d->findChild<QPushButton *>(name); };
        auto *goTo = d->findChild<QLineEdit *>(QStringLiteral("txtGoTo"));
        QTest::mouseClick(goTo, Qt::LeftButton);
        QTest::keyClicks(goTo, QStringLiteral("S-9"));
        QTest::mouseClick(button(QStringLiteral("cmdAction(7)")), Qt::LeftButton);
        QTest::mouseClick(button(QStringLiteral("cmdAction(9)")), Qt::LeftButton);
        d->findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
        whenModalOpens(QStringLiteral("SelectFees"), [&caption](QDialog *fees) {
            caption = fees->windowTitle();
            auto *list = fees->findChild<QListWidget *>(QStringLiteral("lstFees"));
            for (const char *name : {"Tuition", "Sports"}) {
                QListWidgetItem *entry = list->findItems(QLatin1String(name), Qt::MatchExactly).value(0);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(entry).center());
            }
            QTest::mouseClick(fees->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        QTest::mouseClick(button(QStringLiteral("cmdBill")), Qt::LeftButton);
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        auto *paid = d->findChild<QLineEdit *>(QStringLiteral("txtCummulativePaid"));
        QTest::mouseClick(paid, Qt::LeftButton);
        QTest::keyClick(paid, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(paid, QStringLiteral("300"));
        QTest::keyClick(paid, Qt::Key_Tab);
        QTest::mouseClick(button(QStringLiteral("cmdAction(10)")), Qt::LeftButton);
        d->reject();
    });
    item(*w, "mnuActionDataEntry")->trigger();
    QCOMPARE(seen.captions, QStringList{"Login to modify records."});
    QCOMPARE(caption, QStringLiteral("Select Fees for Primary1"));
    QVERIFY2(p->messages.shown.isEmpty(), qPrintable(p->messages.texts().join(u'|')));
    const QString row = QStringLiteral("SELECT Bill_This_Term, Amount_Payable, Cummulative_Paid, Financial_Balance "
                                       "FROM Student WHERE Number = 'S-9'");
    auto expectBill = [&row](const QSqlDatabase &db) {
        QSqlQuery q(db);
        QVERIFY(q.exec(row) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("Tuition = 500\r\nSports = 30\r\n"));
        QCOMPARE(q.value(1).toDouble(), 550.0);
        QCOMPARE(q.value(2).toDouble(), 300.0);
        QCOMPARE(q.value(3).toDouble(), -250.0);
    };
    expectBill(p->state->db());

    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    {
        QSqlDatabase backup = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("backup"));
        backup.setDatabaseName(p->state->backupFile());
        QVERIFY(backup.open());
        expectBill(backup);
        backup.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("backup"));
}

void TestMainWindow::logoShownWhenPresent()
{
    open();
    auto *logo = w->findChild<QLabel *>(QStringLiteral("imgLogo"));
    QVERIFY(logo && !logo->isVisible());
    w->grab().save(QStringLiteral("/tmp/kolvane-main-nologo.png"));
    w->abandon();
    w.reset();

    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(0x80, 0x20, 0x20));
    // Found without regard to letter case.
    QVERIFY(picture.save(p->file(QStringLiteral("Pictures/schoollogo.GIF")), "PNG"));
    open();
    logo = w->findChild<QLabel *>(QStringLiteral("imgLogo"));
    QVERIFY(logo->isVisible());
    QCOMPARE(logo->geometry(), w->centralWidget()->rect());
    w->grab().save(QStringLiteral("/tmp/kolvane-main-logo.png"));
}

// The title bar counts: this bites under a window manager (run it with xcb).
void TestMainWindow::placedInsideTheFreeArea()
{
    open();
    QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
