#include "Modal.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/HelpWindow.h"
#include "app/KolvaneMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTest>

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->prepareState();
        // The pages as the build lays them out in the program folder.
        QFile::link(QStringLiteral(KOLVANE_PROGRAM_DIR "/Help"), p->file(QStringLiteral("Help")));
        w = std::make_unique<KolvaneMain>(*p->state);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup()
    {
        cancelPendingModals();
        w->abandon();
        w.reset();
        p.reset();
    }

    void f1OnOpenMenuShowsItsPage_data();
    void f1OnOpenMenuShowsItsPage();
    void searchThenGoneAfterExit();
    void systemInfo_data();
    void systemInfo();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<KolvaneMain> w;
    HelpWindow *help() const { return w->findChild<HelpWindow *>(); }
    void trigger(const char *item) const { widget<QAction>(w.get(), item)->trigger(); }
};

void TestHelp::f1OnOpenMenuShowsItsPage_data()
{
    QTest::addColumn<int>("key"); // with Alt, opens the menu
    QTest::addColumn<QString>("page");
    QTest::newRow("Action") << int(Qt::Key_A) << "ActionMenu.html";
    QTest::newRow("Upon") << int(Qt::Key_U) << "UponMenu.html";
    QTest::newRow("Tools") << int(Qt::Key_T) << "ToolsMenu.html";
    QTest::newRow("Help") << int(Qt::Key_H) << "HelpMenu.html";
}

// From the keyboard: Alt and the menu's letter, then F1 closes the menu and
// shows its page.
void TestHelp::f1OnOpenMenuShowsItsPage()
{
    QFETCH(int, key);
    QFETCH(QString, page);
    QTest::keyClick(w.get(), Qt::Key(key), Qt::AltModifier);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
    QTest::keyClick(menu, Qt::Key_F1);
    QTRY_VERIFY(help() && help()->isVisible());
    QVERIFY(!menu->isVisible());
    QCOMPARE(help()->currentPage(), page);
}

// F1 with no menu open and the Contents item show the contents; Search finds the pages
// holding every word, in any case, Enter opening the first; Exit closes the help window
// before anything else.
void TestHelp::searchThenGoneAfterExit()
{
    QTest::keyClick(w.get(), Qt::Key_F1);
    QTRY_VERIFY(help() && help()->currentPage() == QStringLiteral("Contents.html"));
    help()->showContext(210);
    trigger("mnuHelpContents");
    QPointer<HelpWindow> window = help();
    QCOMPARE(window->currentPage(), QStringLiteral("Contents.html"));
    const QList<std::pair<QString, QString>> searches = {
        {"bill", "RoadOfABill.html"}, {"RESTORE backup", "BackupAndRestore.html"}, {"bill zebra", ""}};
    for (const auto &[words, first] : searches) {
        trigger("mnuHelpSearch");
        auto *box = widget<QLineEdit>(help(), "txtSearch");
        QTRY_VERIFY(box->hasFocus());
        retype(box, words);
        QCOMPARE(widget<QListWidget>(help(), "lstPages")->count() == 0, first.isEmpty());
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(help()->currentPage(), first.isEmpty() ? QStringLiteral("BackupAndRestore.html") : first);
    }
    bool openAtBackup = true;
    p->messages.onShow = [&](const QString &) { openAtBackup = window && window->isVisible(); };
    p->messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w->close());
    QVERIFY(openAtBackup); // still open while the question is asked
    QVERIFY(!window || !window->isVisible());
    QTRY_VERIFY(!window);
}

void TestHelp::systemInfo_data()
{
    QTest::addColumn<QString>("program"); // put on the PATH; "" none
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("started");
    QTest::newRow("second of the list found") << "kinfocenter" << QByteArray("#!/bin/sh\necho ran > \"$0.ran\"\n") << true;
    QTest::newRow("none on the path") << "" << QByteArray() << false;
    QTest::newRow("start fails") << "hardinfo" << QByteArray("#!/no/such/shell\n") << false;
}

// System Info starts the tool found on the PATH without waiting for it, or
// says that there is none.
void TestHelp::systemInfo()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, script);
    QFETCH(bool, started);
    const QString tool = p->file(QStringLiteral("bin/") + program);
    QDir().mkpath(p->file(QStringLiteral("bin")));
    if (!program.isEmpty()) {
        p->writeFile(QStringLiteral("bin/") + program, script);
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(p->file(QStringLiteral("bin"))));
    bool closed = false;
    whenModalOpens(QStringLiteral("About"), [&closed](QDialog *d) {
        click(d, "cmdSysInfo");
        click(d, "cmdOK");
        closed = !d->isVisible();
    });
    trigger("mnuHelpAbout");
    qputenv("PATH", path);
    QVERIFY(closed);
    if (started) {
        QVERIFY(p->messages.shown.isEmpty());
        QTRY_VERIFY(QFile::exists(tool + QStringLiteral(".ran")));
    } else {
        QCOMPARE(p->messages.texts(), QStringList{"System Information Is Unavailable At This Time"});
    }
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
