#include "Modal.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QSqlQuery>

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

    void keysAndMusic();
    void guardedCommands();
    void formsWithoutClassStructure();
    void placedWithLogoThenExit();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<KolvaneMain> w;
    void open()
    {
        w = std::make_unique<KolvaneMain>(*p->state);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    // A missing item ends the run naming it, rather than in a crash.
    QAction *item(const QString &name) const
    {
        QAction *found = widget<QAction>(w.get(), name);
        if (!found)
            qFatal("the main window has no menu item %s", qPrintable(name));
        return found;
    }
    void choose(const char *kind)
    {
        item(QStringLiteral("mnuUpon") + QLatin1String(kind))->trigger();
    }
    // A shortcut key as the operator presses it, the main window active.
    void press(QKeyCombination keys)
    {
        QVERIFY(showActive(w.get()));
        QTest::keyClick(w.get(), keys.key(), keys.keyboardModifiers());
    }
    // Data Entry (F2) answered with `entry`: the prompt's caption, the record
    // form's, whether the grant held while it was open and whether the form
    // took it (Edit shown; which buttons each kind shows is the form's test).
    QString dataEntry(const QString &entry)
    {
        QStringList seen;
        answerLogin(seen, entry, 3);
        whenModalOpens(QStringLiteral("MenData"), [&](QDialog *d) {
            const bool edit = widget(d, "cmdAction(9)")->isVisibleTo(d);
            seen << d->windowTitle() + (p->state->LoginGranted ? QStringLiteral(" granted") : "") +
                        (edit ? QStringLiteral(" E") : "");
            d->reject();
        });
        press(Qt::Key_F2);
        return seen.join(u'|');
    }
};

// The intro first. Every item of a menu has a letter of its own to reach it
// by; the record kinds have their keys, Upon holding one kind at a time, the
// mark moving with it. The watchdog starts nothing while there is no music, a
// piece once there is, then another within a tick each time one ends (which
// piece is the player's own test). Music off (F4) stops the piece and the
// watchdog with it; on again, it plays on. Voice (Shift+F4) flips its flag.
void TestMainWindow::keysAndMusic()
{
    p->state->RecordKind = QStringLiteral("Nothing yet");
    p->state->IntroWav = QStringLiteral("/w/intro.wav");
    p->state->VoiceOn = true;
    open();
    for (QAction *entry : w->menuBar()->actions()) {
        QStringList letters;
        for (QAction *a : entry->menu()->actions()) {
            const QString letter = QKeySequence::mnemonic(a->text()).toString();
            QVERIFY2(a->isSeparator() || (!letter.isEmpty() && !letters.contains(letter)),
                     qPrintable(a->text()));
            letters << letter;
        }
    }
    QCOMPARE(p->state->RecordKind, QStringLiteral("Student"));
    const QList<std::pair<QKeyCombination, const char *>> kinds = {
        {Qt::CTRL | Qt::Key_K, "Stock"},
        {Qt::CTRL | Qt::Key_F, "Staff"},
        {Qt::CTRL | Qt::Key_S, "Student"}};
    for (const auto &[keys, kind] : kinds) {
        press(keys);
        QCOMPARE(p->state->RecordKind, QLatin1String(kind));
    }
    choose("FormerStudent");
    QCOMPARE(p->state->RecordKind, QStringLiteral("FormerStudent"));
    QVERIFY(item("mnuUponFormerStudent")->isChecked() && !item("mnuUponStudent")->isChecked());

    QTest::qWait(600);
    QCOMPARE(p->sound.calls, QStringList{"wave intro.wav -1"});
    p->state->MusicFiles = QStringList{"/m/a.mid", "/m/b.mid", "/m/c.rmi"};
    const auto played = [this] { return p->sound.calls.filter(QStringLiteral("music ")); };
    for (int n = 1; n <= 5; ++n) { // past the end of the list and round again
        p->sound.playing = false;
        QTRY_COMPARE_WITH_TIMEOUT(played().size(), n, 2000);
    }
    QAction *musicItem = item("mnuToolsMusic"), *voice = item("mnuToolsVoice");
    p->sound.calls.clear();
    press(Qt::Key_F4);
    press(Qt::SHIFT | Qt::Key_F4);
    QVERIFY(!p->state->MusicOn && !musicItem->isChecked());
    QVERIFY(!p->state->VoiceOn && !voice->isChecked());
    p->sound.playing = false;
    QTest::qWait(400);
    QCOMPARE(p->sound.calls, QStringList{"stop music"});
    press(Qt::Key_F4);
    press(Qt::SHIFT | Qt::Key_F4);
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
        item(QStringLiteral("mnuTools") + name)->trigger(); // the grant shows it was asked
        QCOMPARE(opened, QStringList{name + QStringLiteral(" granted")});
        QVERIFY(!p->state->LoginGranted);
    }
}

// With the class structure file gone: Modify Password and a query on stock
// open with no prompt, a query on staff asks first. Data Entry asks, and the
// record form opens editable, the grant holding while it is open. None of
// these kinds needs the class structure, so the missing file goes unnoticed
// until Data Entry on students forces the wizard, with no way to cancel it;
// refused, that form opens read-only. The exit then goes on without a backup.
void TestMainWindow::formsWithoutClassStructure()
{
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
    press(Qt::Key_F3);
    QVERIFY(seen.isEmpty());
    choose("Staff");
    closeWhenOpen("QueryReport");
    press(Qt::Key_F3);
    QCOMPARE(seen, QStringList{"Login to view remarks."});
    QCOMPARE(opened, 3);
    QVERIFY(item("mnuActionQuery")->isChecked() && !item("mnuActionDataEntry")->isChecked());
    QVERIFY(!p->state->LoginGranted);

    const QString prompt = QStringLiteral("Login to modify records.|Brindlemark Grammar : ");
    QCOMPARE(dataEntry(QStringLiteral("secret")), prompt + QStringLiteral("Staff granted E"));
    QVERIFY(item("mnuActionDataEntry")->isChecked() && !item("mnuActionQuery")->isChecked());
    QVERIFY(!p->state->LoginGranted);
    QVERIFY(p->messages.shown.isEmpty());
    QVERIFY(!QFile::exists(p->state->IniPath));

    bool cancelEnabled = true;
    whenModalOpens(QStringLiteral("RestructureClasses"), [&cancelEnabled](QDialog *d) {
        cancelEnabled = widget(d, "cmdNavigate(0)")->isEnabled();
        for (int pages = 0; widget(d, "cmdNavigate(2)")->isVisible() && pages < 30; ++pages)
            click(d, "cmdNavigate(2)");
        click(d, "cmdNavigate(3)");
    });
    choose("Student");
    QCOMPARE(dataEntry(QStringLiteral("wrong")), prompt + QStringLiteral("Student"));
    QCOMPARE(p->messages.texts(), QStringList{"Initialization file for your School\r\n"
                                              "Class Structure was not found.\r\n"
                                              "It must now be created."});
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    QVERIFY(!cancelEnabled);
    QVERIFY(QFile::exists(p->state->IniPath));

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
    QVERIFY2(said.startsWith(QStringLiteral("The backup copy could not be written:")) &&
                 said.endsWith(QStringLiteral("The last backup copy was kept as it was.")),
             qPrintable(said));
    QCOMPARE(p->messages.shown.at(1).icon, MessageBoxes::Icon::Exclamation);
    w->close();
    QCOMPARE(p->messages.shown.size(), 2);
}

// Inside the screen's free area, title bar included (this bites under a window
// manager: run it with xcb); the school's logo over the whole client area when
// there is one, found whatever its letter case. Exit answered No keeps
// everything; the close box asks the same question, and Yes writes the
// database as it stands to the backup copy on the way out.
void TestMainWindow::placedWithLogoThenExit()
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

    QVERIFY(QSqlQuery(p->state->db())
                .exec(QStringLiteral("INSERT INTO Student (Number) VALUES ('S-9')")));
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    p->messages.setNextAnswer(MessageBoxes::No);
    item("mnuActionExit")->trigger();
    QVERIFY(w->isVisible() && p->state->db().isOpen());
    QVERIFY(QDir(p->file(QStringLiteral("Backup"))).isEmpty());
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(exited.size(), 1);
    QCOMPARE(p->messages.texts(), QStringList(2, QStringLiteral("Are you sure you want to exit?")));
    QCOMPARE(p->messages.shown.at(1).buttons,
             MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No);
    QCOMPARE(column(p->state->backupFile(), QStringLiteral("SELECT Number FROM Student")),
             QStringList{"S-9"});
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
