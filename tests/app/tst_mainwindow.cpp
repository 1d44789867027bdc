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
#include <QLineEdit>
#include <QListWidget>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

namespace {

// Answers the password prompt: records its caption and types `entry` (or
// presses Cancel when `entry` is null) as many times as the prompt stays open.
struct PromptAnswer
{
    QStringList captions;
};

void answerPrompt(PromptAnswer &seen, const QString &entry, int times = 1)
{
    whenModalOpens(QStringLiteral("Login"), [&seen, entry, times](QDialog *d) {
        seen.captions << d->windowTitle();
        for (int i = 0; i < times && d->isVisible(); ++i) {
            auto *box = d->findChild<QLineEdit *>(QStringLiteral("txtPassword"));
            box->clear();
            if (entry.isNull()) {
                QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
                return;
            }
            QTest::keyClicks(box, entry);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        }
    });
}

// Closes the record form once it opens, after `look` has seen it.
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
    void init();
    void cleanup();

    void menuItems_data();
    void menuItems();
    void menuOrderWithSeparators_data();
    void menuOrderWithSeparators();
    void uponSetsRecordKind_data();
    void uponSetsRecordKind();
    void startsIntroThenFirstPiece();
    void watchdogPlaysInOrderAfterRandomStart();
    void singlePieceRepeatsAndEmptyListStaysSilent();
    void musicToggleFollowsFlag();
    void voiceToggleFollowsFlag();
    void guardedCommand_data();
    void guardedCommand();
    void setTermFromMenu();
    void modifyPasswordWithoutPrompt();
    void dataEntryPromptsAndChecksPair();
    void dataEntryArrangesRecordForm_data();
    void dataEntryArrangesRecordForm();
    void refusedDataEntryIsReadOnly();
    void missingClassStructureForcesWizard();
    void missingClassStructureIgnoredForStaffAndStock_data();
    void missingClassStructureIgnoredForStaffAndStock();
    void queryPromptsExceptForStock_data();
    void queryPromptsExceptForStock();
    void exitAnsweredNoKeepsEverything();
    void exitAnsweredYesWritesBackup();
    void exitKeepsBackupOfDamagedDatabase();
    void typicalBillFromFindToBackup();
    void exitGoesOnWhenBackupCannotBeWritten();
    void logoShownWhenPresent();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<KolvaneMain> w;
    void open();
};

void TestMainWindow::init()
{
    p = std::make_unique<TestProgram>();
    p->writeTypicalIni();
    p->prepareState();
    p->state->PasswordHash = HashPassword(QStringLiteral("Secret"));
    p->state->VoiceOn = false;
}

void TestMainWindow::cleanup()
{
    cancelPendingModals();
    if (w)
        w->abandon();
    w.reset();
    p.reset();
}

void TestMainWindow::open()
{
    w = std::make_unique<KolvaneMain>(*p->state);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
}

void TestMainWindow::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");
    auto row = [](const char *name, const char *caption, const char *shortcut, bool checkable, bool checked) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                            << QString::fromLatin1(shortcut) << checkable << checked;
    };
    row("mnuActionDataEntry", "&Data Entry", "F2", true, true);
    row("mnuActionQuery", "&Query And Report", "F3", true, false);
    row("mnuActionExit", "E&xit", "", false, false);
    row("mnuUponStudent", "&Student", "Ctrl+S", true, true);
    row("mnuUponStaff", "Staf&f", "Ctrl+F", true, false);
    row("mnuUponFormerStudent", "Former St&udent", "", true, false);
    row("mnuUponFormerStaff", "Former St&aff", "", true, false);
    row("mnuUponStock", "Stoc&k", "Ctrl+K", true, false);
    row("mnuToolsMusic", "&Music", "F4", true, true);
    row("mnuToolsVoice", "&Voice", "Shift+F4", true, true);
    row("mnuToolsSetTerm", "Set &Term", "", false, false);
    row("mnuToolsRestructureClasses", "Restructure &Classes", "", false, false);
    row("mnuToolsReviseFees", "Revise &Fees", "", false, false);
    row("mnuToolsAccounts", "&Accounts", "", false, false);
    row("mnuToolsModifyPassword", "Modify &Password", "", false, false);
    row("mnuHelpContents", "&Contents...", "", false, false);
    row("mnuHelpSearch", "&Search For Help On...", "", false, false);
    row("mnuHelpAbout", "&About", "", false, false);
}

void TestMainWindow::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);
    open();
    auto *a = w->findChild<QAction *>(name);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut().toString(), shortcut);
    QCOMPARE(a->isCheckable(), checkable);
    QCOMPARE(a->isChecked(), checked);
}

void TestMainWindow::menuOrderWithSeparators_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("helpId");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("action") << "mnuAction" << "&Action" << 210
                            << QStringList{"mnuActionDataEntry", "mnuActionQuery", "mnuActionExit"};
    QTest::newRow("upon") << "mnuUpon" << "&Upon" << 220
                          << QStringList{"mnuUponStudent", "mnuUponStaff", "mnuUponBar0", "mnuUponFormerStudent",
                                         "mnuUponFormerStaff", "mnuUponBar1", "mnuUponStock"};
    QTest::newRow("tools") << "mnuTools" << "&Tools" << 230
                           << QStringList{"mnuToolsMusic", "mnuToolsVoice", "mnuToolsSep0", "mnuToolsSetTerm",
                                          "mnuToolsRestructureClasses", "mnuToolsReviseFees", "mnuToolsSep1",
                                          "mnuToolsAccounts", "mnuToolsSep2", "mnuToolsModifyPassword"};
    QTest::newRow("help") << "mnuHelp" << "&Help" << 240
                          << QStringList{"mnuHelpContents", "mnuHelpSearch", "mnuHelpBar1", "mnuHelpAbout"};
}

void TestMainWindow::menuOrderWithSeparators()
{
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(int, helpId);
    QFETCH(QStringList, items);
    open();
    auto *m = w->findChild<QMenu *>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), caption);
    QCOMPARE(m->property("helpContextId").toInt(), helpId);
    QStringList names;
    for (QAction *a : m->actions()) {
        names << a->objectName();
        QCOMPARE(a->isSeparator(), a->objectName().contains(QStringLiteral("Bar")) ||
                                       a->objectName().contains(QStringLiteral("Sep")));
    }
    QCOMPARE(names, items);
    // The menus stand on the bar in this order.
    QStringList bar;
    for (QAction *a : w->menuBar()->actions())
        bar << a->menu()->objectName();
    QCOMPARE(bar, (QStringList{"mnuAction", "mnuUpon", "mnuTools", "mnuHelp"}));
}

void TestMainWindow::uponSetsRecordKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("staff") << "mnuUponStaff" << "Staff";
    QTest::newRow("former student") << "mnuUponFormerStudent" << "FormerStudent";
    QTest::newRow("former staff") << "mnuUponFormerStaff" << "FormerStaff";
    QTest::newRow("stock") << "mnuUponStock" << "Stock";
    QTest::newRow("student") << "mnuUponStudent" << "Student";
}

void TestMainWindow::uponSetsRecordKind()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    p->state->RecordKind = QStringLiteral("Nothing yet");
    open();
    QCOMPARE(p->state->RecordKind, QStringLiteral("Student"));
    item(*w, "mnuUponStock")->trigger();
    item(*w, qPrintable(name))->trigger();
    QCOMPARE(p->state->RecordKind, kind);
    QStringList checked;
    for (QAction *a : w->findChild<QMenu *>(QStringLiteral("mnuUpon"))->actions())
        if (a->isChecked())
            checked << a->objectName();
    QCOMPARE(checked, QStringList{name});
    QVERIFY(p->messages.shown.isEmpty());
}

void TestMainWindow::startsIntroThenFirstPiece()
{
    p->state->MusicFiles = {"/m/a.mid", "/m/b.mid", "/m/c.rmi"};
    p->state->IntroWav = QStringLiteral("/w/intro.wav");
    open();
    QCOMPARE(p->sound.calls.mid(0, 2), (QStringList{"wave intro.wav -1", "music a.mid"}));
    QVERIFY(p->state->MusicOn);
    QVERIFY(!p->state->FirstPiecePending);
    QCOMPARE(p->state->NextPiece, 1);
}

void TestMainWindow::watchdogPlaysInOrderAfterRandomStart()
{
    const QStringList files{"/m/a.mid", "/m/b.mid", "/m/c.mid"};
    p->state->MusicFiles = files;
    open();
    auto piecesPlayed = [this] {
        QStringList played;
        for (const QString &c : p->sound.calls)
            if (c.startsWith(QStringLiteral("music ")))
                played << QStringLiteral("/m/") + c.mid(6);
        return played;
    };
    // Each time a piece ends, the watchdog starts the next within a tick.
    for (int n = 2; n <= 6; ++n) {
        p->sound.playing = false;
        QTRY_COMPARE_WITH_TIMEOUT(piecesPlayed().size(), n, 2000);
    }
    const QStringList played = piecesPlayed();
    QCOMPARE(played.first(), files.at(0));
    const int start = static_cast<int>(files.indexOf(played.at(1)));
    QVERIFY(start >= 0);
    for (int i = 1; i < played.size(); ++i)
        QCOMPARE(played.at(i), files.at((start + i - 1) % 3));
}

void TestMainWindow::singlePieceRepeatsAndEmptyListStaysSilent()
{
    p->state->MusicFiles = {"/m/only.mid"};
    open();
    p->sound.playing = false;
    QTRY_COMPARE_WITH_TIMEOUT(p->sound.calls.count(QStringLiteral("music only.mid")), 2, 2000);
    p->sound.playing = false;
    QTRY_COMPARE_WITH_TIMEOUT(p->sound.calls.count(QStringLiteral("music only.mid")), 3, 2000);
    w->abandon();
    w.reset();

    p->state->MusicFiles.clear();
    p->sound.calls.clear();
    open();
    QTest::qWait(600);
    QCOMPARE(p->sound.calls.filter(QStringLiteral("music")).size(), 0);
}

void TestMainWindow::musicToggleFollowsFlag()
{
    p->state->MusicFiles = {"/m/a.mid", "/m/b.mid"};
    open();
    QAction *music = item(*w, "mnuToolsMusic");
    p->sound.calls.clear();
    music->trigger();
    QVERIFY(!p->state->MusicOn);
    QVERIFY(!music->isChecked());
    QCOMPARE(p->sound.calls, QStringList{"stop music"});
    QTest::qWait(400);
    QCOMPARE(p->sound.calls, QStringList{"stop music"});

    music->trigger();
    QVERIFY(p->state->MusicOn);
    QVERIFY(music->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(p->sound.calls.size(), 2, 1000);
    QVERIFY(p->sound.calls.at(1).startsWith(QStringLiteral("music ")));
}

void TestMainWindow::voiceToggleFollowsFlag()
{
    p->state->VoiceOn = true;
    open();
    QAction *voice = item(*w, "mnuToolsVoice");
    p->sound.calls.clear();
    voice->trigger();
    QVERIFY(!p->state->VoiceOn);
    QVERIFY(!voice->isChecked());
    voice->trigger();
    QVERIFY(p->state->VoiceOn);
    QVERIFY(voice->isChecked());
    QVERIFY(p->sound.calls.filter(QStringLiteral("wave")).isEmpty());
}

void TestMainWindow::guardedCommand_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("form");
    QTest::newRow("set term") << "mnuToolsSetTerm" << "Login to Set Term." << "SetTerm";
    QTest::newRow("restructure") << "mnuToolsRestructureClasses" << "Login to restructure classes."
                                 << "RestructureClasses";
    QTest::newRow("revise fees") << "mnuToolsReviseFees" << "Login to revise fees." << "ReviseFees";
    QTest::newRow("accounts") << "mnuToolsAccounts" << "Login to enter accounts." << "Accounts";
}

// A refused prompt opens nothing; a granted one opens the form and the grant
// ends with it.
void TestMainWindow::guardedCommand()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, form);
    open();
    QSignalSpy requested(w.get(), &KolvaneMain::formRequested);
    QStringList opened;
    auto watch = [&opened, form] {
        whenModalOpens(form, [&opened](QDialog *d) {
            opened << d->objectName();
            d->reject();
        }, 1500);
    };

    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("wrong"), 3);
    watch();
    item(*w, qPrintable(name))->trigger();
    QCOMPARE(seen.captions, QStringList{caption});
    QVERIFY(!p->state->LoginGranted);
    QTest::qWait(50);
    QVERIFY(opened.isEmpty());
    QCOMPARE(requested.size(), 0);

    answerPrompt(seen, QStringLiteral(" secret "));
    watch();
    item(*w, qPrintable(name))->trigger();
    QCOMPARE(seen.captions.size(), 2);
    const bool builtHere = form != QStringLiteral("Accounts");
    if (builtHere) {
        QCOMPARE(opened, QStringList{form});
    } else {
        QCOMPARE(requested.size(), 1);
        QCOMPARE(requested.at(0).at(0).toString(), form);
    }
    QVERIFY(!p->state->LoginGranted);
    // The forms were only looked at: the class structure file is unchanged.
    QCOMPARE(ReadVar(QStringLiteral("CurrentTerm"), p->state->IniPath), QStringLiteral("Second Term_2026/2027"));
}

void TestMainWindow::setTermFromMenu()
{
    open();
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("SECRET"));
    bool granted = false;
    whenModalOpens(QStringLiteral("SetTerm"), [this, &granted](QDialog *d) {
        granted = p->state->LoginGranted;
        d->findChild<QAbstractButton *>(QStringLiteral("optTerm(2)"))->click();
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    item(*w, "mnuToolsSetTerm")->trigger();
    QVERIFY(granted);
    QVERIFY(!p->state->LoginGranted);
    QCOMPARE(ReadVar(QStringLiteral("CurrentTerm"), p->state->IniPath), QStringLiteral("Third Term_2026/2027"));
    QCOMPARE(p->state->classes.CurrentTerm, QStringLiteral("Third Term_2026/2027"));
}

void TestMainWindow::modifyPasswordWithoutPrompt()
{
    open();
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("secret"));
    bool opened = false;
    whenModalOpens(QStringLiteral("ModifyPassword"), [&opened](QDialog *d) {
        opened = true;
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    item(*w, "mnuToolsModifyPassword")->trigger();
    QVERIFY(opened);
    QVERIFY(seen.captions.isEmpty());
}

void TestMainWindow::dataEntryPromptsAndChecksPair()
{
    open();
    item(*w, "mnuActionQuery")->setChecked(true);
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("secret"));
    bool grantedWhileOpen = false;
    QString caption;
    closeRecordForm([&](QDialog *d) {
        grantedWhileOpen = p->state->LoginGranted;
        caption = d->windowTitle();
        d->grab().save(QStringLiteral("/tmp/kolvane-mendata-student.png"));
    });
    p->state->SchoolName = QStringLiteral("Brindlemark Grammar");
    item(*w, "mnuActionDataEntry")->trigger();
    QCOMPARE(seen.captions, QStringList{"Login to modify records."});
    QVERIFY(item(*w, "mnuActionDataEntry")->isChecked());
    QVERIFY(!item(*w, "mnuActionQuery")->isChecked());
    QVERIFY(grantedWhileOpen);
    QCOMPARE(caption, QStringLiteral("Brindlemark Grammar : Student"));
    QVERIFY(!p->state->LoginGranted);
    QVERIFY(p->messages.shown.isEmpty());
}

void TestMainWindow::dataEntryArrangesRecordForm_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("newShown");
    QTest::addColumn<bool>("sendShown");
    QTest::addColumn<bool>("editShown");
    QTest::newRow("staff") << "mnuUponStaff" << "secret" << true << true << true;
    QTest::newRow("former staff") << "mnuUponFormerStaff" << "secret" << false << false << true;
    QTest::newRow("stock") << "mnuUponStock" << "secret" << true << false << true;
    QTest::newRow("student refused") << "mnuUponStudent" << "wrong" << false << false << false;
}

// The buttons the kind allows; three wrong passwords leave only browsing.
void TestMainWindow::dataEntryArrangesRecordForm()
{
    QFETCH(QString, kind);
    QFETCH(QString, entry);
    QFETCH(bool, newShown);
    QFETCH(bool, sendShown);
    QFETCH(bool, editShown);
    open();
    item(*w, qPrintable(kind))->trigger();
    PromptAnswer seen;
    answerPrompt(seen, entry, 3);
    bool newVisible = true, sendVisible = true, editVisible = true, goToLocked = true;
    closeRecordForm([&](QDialog *d) {
        auto visible = [d](const char *name) {
            auto *b = d->findChild<QWidget *>(QString::fromLatin1(name));
            return b && b->isVisibleTo(d);
        };
        newVisible = visible("cmdAction(8)");
        sendVisible = visible("cmdAction(24)");
        editVisible = visible("cmdAction(9)");
        goToLocked = d->findChild<QLineEdit *>(QStringLiteral("txtGoTo"))->isReadOnly();
    });
    item(*w, "mnuActionDataEntry")->trigger();
    QCOMPARE(seen.captions.size(), 1);
    QCOMPARE(newVisible, newShown);
    QCOMPARE(sendVisible, sendShown);
    QCOMPARE(editVisible, editShown);
    QVERIFY(!goToLocked);
    QVERIFY(!p->state->LoginGranted);
}

void TestMainWindow::refusedDataEntryIsReadOnly()
{
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES ('N1', 'First'), ('N2', 'Second')")));
    open();
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("wrong"), 3);
    QString typedSurname, foundSurname;
    closeRecordForm([&](QDialog *d) {
        auto *surname = d->findChild<QLineEdit *>(QStringLiteral("txtSurname"));
        surname->setFocus();
        QTest::keyClicks(surname, QStringLiteral("xyz"));
        typedSurname = surname->text();
        auto *goTo = d->findChild<QLineEdit *>(QStringLiteral("txtGoTo"));
        goTo->setFocus();
        QTest::keyClicks(goTo, QStringLiteral("n1"));
        QTest::keyClick(goTo, Qt::Key_Return);
        foundSurname = surname->text();
    });
    item(*w, "mnuActionDataEntry")->trigger();
    QCOMPARE(typedSurname, QStringLiteral("Second"));
    QCOMPARE(foundSurname, QStringLiteral("First"));
    QVERIFY(!p->state->LoginGranted);
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
    QVERIFY(QFile::exists(p->state->IniPath));
    QCOMPARE(ReadVar(QStringLiteral("NumberOfSecondary8"), p->state->IniPath), QStringLiteral("0"));
}

void TestMainWindow::missingClassStructureIgnoredForStaffAndStock_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("command");
    QTest::newRow("staff data entry") << "mnuUponStaff" << "mnuActionDataEntry";
    QTest::newRow("stock data entry") << "mnuUponStock" << "mnuActionDataEntry";
    QTest::newRow("former staff data entry") << "mnuUponFormerStaff" << "mnuActionDataEntry";
    QTest::newRow("staff query") << "mnuUponStaff" << "mnuActionQuery";
    QTest::newRow("stock query") << "mnuUponStock" << "mnuActionQuery";
}

void TestMainWindow::missingClassStructureIgnoredForStaffAndStock()
{
    QFETCH(QString, kind);
    QFETCH(QString, command);
    QVERIFY(QFile::remove(p->state->IniPath));
    open();
    item(*w, qPrintable(kind))->trigger();
    PromptAnswer seen;
    if (kind != QStringLiteral("mnuUponStock") || command != QStringLiteral("mnuActionQuery"))
        answerPrompt(seen, QString());
    if (command == QStringLiteral("mnuActionDataEntry"))
        closeRecordForm();
    item(*w, qPrintable(command))->trigger();
    QVERIFY(p->messages.shown.isEmpty());
    QVERIFY(!QFile::exists(p->state->IniPath));
}

void TestMainWindow::queryPromptsExceptForStock_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("prompted");
    QTest::newRow("student") << "mnuUponStudent" << true;
    QTest::newRow("staff") << "mnuUponStaff" << true;
    QTest::newRow("former student") << "mnuUponFormerStudent" << true;
    QTest::newRow("former staff") << "mnuUponFormerStaff" << true;
    QTest::newRow("stock") << "mnuUponStock" << false;
}

void TestMainWindow::queryPromptsExceptForStock()
{
    QFETCH(QString, kind);
    QFETCH(bool, prompted);
    open();
    item(*w, qPrintable(kind))->trigger();
    QSignalSpy requested(w.get(), &KolvaneMain::formRequested);
    PromptAnswer seen;
    answerPrompt(seen, QStringLiteral("secret"));
    item(*w, "mnuActionQuery")->trigger();
    QCOMPARE(seen.captions, prompted ? QStringList{"Login to view remarks."} : QStringList{});
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested.at(0).at(0).toString(), QStringLiteral("QueryReport"));
    QVERIFY(item(*w, "mnuActionQuery")->isChecked());
    QVERIFY(!item(*w, "mnuActionDataEntry")->isChecked());
    QVERIFY(!p->state->LoginGranted);
}

void TestMainWindow::exitAnsweredNoKeepsEverything()
{
    open();
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    p->messages.setNextAnswer(MessageBoxes::No);
    item(*w, "mnuActionExit")->trigger();
    QCOMPARE(p->messages.texts(), QStringList{"Are you sure you want to exit?"});
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No);
    QVERIFY(w->isVisible());
    QVERIFY(p->state->db().isOpen());
    QVERIFY(!QFile::exists(p->state->backupFile()));
    QCOMPARE(exited.size(), 0);

    // The close box asks the same question.
    p->messages.setNextAnswer(MessageBoxes::No);
    QVERIFY(!w->close());
    QCOMPARE(p->messages.shown.size(), 2);
    QVERIFY(!QFile::exists(p->state->backupFile()));
}

void TestMainWindow::exitAnsweredYesWritesBackup()
{
    {
        QSqlQuery q(p->state->db());
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES ('S-9', 'Okafor')")));
    }
    open();
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    p->sound.calls.clear();
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(p->messages.shown.size(), 1);
    QCOMPARE(exited.size(), 1);
    QVERIFY(!p->state->db().isOpen());
    QCOMPARE(p->sound.calls, (QStringList{"stop music", "stop wave"}));
    QVERIFY(!p->state->MusicOn);
    const QByteArray backup = contents(p->state->backupFile());
    QVERIFY(!backup.isEmpty());
    QCOMPARE(backup, contents(p->state->databaseFile()));
    QVERIFY(!QFile::permissions(p->state->backupFile()).testFlag(QFileDevice::ReadOther));
    QVERIFY(!QFile::permissions(p->state->backupFile()).testFlag(QFileDevice::ReadGroup));
    // Closing again does not ask a second time.
    w->close();
    QCOMPARE(p->messages.shown.size(), 1);
}

void TestMainWindow::exitKeepsBackupOfDamagedDatabase()
{
    p->copyEmptyDatabaseTo(QString::fromLatin1(Database::BackupFileName));
    const QByteArray goodBackup = contents(p->state->backupFile());
    open();
    Database::close(p->state->DbConnection);
    p->writeFile(QString::fromLatin1(Database::FileName), QByteArray(8192, 'x'));
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(p->messages.shown.size(), 2);
    QCOMPARE(p->messages.shown.at(1).icon, MessageBoxes::Icon::Exclamation);
    QVERIFY(p->messages.shown.at(1).text.contains(QStringLiteral("was kept as it was.")));
    QCOMPARE(contents(p->state->backupFile()), goodBackup);
}

void TestMainWindow::exitGoesOnWhenBackupCannotBeWritten()
{
    open();
    QSignalSpy exited(w.get(), &KolvaneMain::exited);
    QVERIFY(QDir(p->file(QStringLiteral("Backup"))).removeRecursively());
    p->sound.calls.clear();
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QCOMPARE(p->messages.shown.size(), 2);
    QVERIFY(p->messages.shown.at(1).text.startsWith(QStringLiteral("The backup copy could not be written:")));
    QCOMPARE(p->messages.shown.at(1).icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(exited.size(), 1);
    QCOMPARE(p->sound.calls, (QStringList{"stop music", "stop wave"}));
    QVERIFY(!QFile::exists(p->state->backupFile()));
}

void TestMainWindow::logoShownWhenPresent()
{
    open();
    auto *logo = w->findChild<QLabel *>(QStringLiteral("imgLogo"));
    QVERIFY(logo);
    QVERIFY(!logo->isVisible());
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
    auto *tools = w->findChild<QMenu *>(QStringLiteral("mnuTools"));
    tools->popup(w->mapToGlobal(QPoint(100, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(tools));
    tools->grab().save(QStringLiteral("/tmp/kolvane-main-tools.png"));
    tools->hide();
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
