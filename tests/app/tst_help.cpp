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
#include <QScopeGuard>
#include <QTest>

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void pagesSystemInfoThenExit();
};

// From the keyboard: Alt and a menu's letter, then F1 closes the menu and shows its
// page; F1 with no menu open and the Contents item show the contents. Search finds
// the pages holding every word, in any case, Enter opening the first. System Info
// says there is none when no tool is on the PATH or the one found fails to start,
// else starts the first found without waiting for it. Exit closes the help window
// before anything else.
void TestHelp::pagesSystemInfoThenExit()
{
    TestProgram p;
    p.prepareState();
    // The pages as the build lays them out in the program folder.
    QFile::link(KOLVANE_PROGRAM_DIR "/Help", p.file("Help"));
    KolvaneMain w(*p.state);
    const auto abandon = qScopeGuard([&w] {
        cancelPendingModals();
        w.abandon();
    });
    QVERIFY(showActive(&w));
    const auto help = [&w] { return w.findChild<HelpWindow *>(); };
    const auto trigger = [&w](const char *item) { widget<QAction>(&w, item)->trigger(); };
    const QList<std::pair<Qt::Key, QString>> menus = {{Qt::Key_A, "ActionMenu.html"},
                                                      {Qt::Key_U, "UponMenu.html"},
                                                      {Qt::Key_T, "ToolsMenu.html"},
                                                      {Qt::Key_H, "HelpMenu.html"}};
    for (const auto &[key, page] : menus) {
        QTest::keyClick(&w, key, Qt::AltModifier);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QTest::keyClick(menu, Qt::Key_F1);
        QTRY_VERIFY(help() && help()->isVisible());
        QVERIFY(!menu->isVisible());
        QCOMPARE(help()->currentPage(), page);
        help()->close();
        QVERIFY(showActive(&w));
    }
    QTest::keyClick(&w, Qt::Key_F1);
    QTRY_VERIFY(help()->isVisible() && help()->currentPage() == "Contents.html");
    help()->showContext(210);
    trigger("mnuHelpContents");
    QPointer<HelpWindow> window = help();
    QCOMPARE(window->currentPage(), QStringLiteral("Contents.html"));
    const QList<std::pair<QString, QString>> searches = {
        {"bill", "RoadOfABill.html"},
        {"RESTORE backup", "BackupAndRestore.html"},
        {"bill zebra", ""}};
    for (const auto &[words, first] : searches) {
        trigger("mnuHelpSearch");
        auto *box = widget<QLineEdit>(help(), "txtSearch");
        QTRY_VERIFY(box->hasFocus());
        retype(box, words);
        QCOMPARE(widget<QListWidget>(help(), "lstPages")->count() == 0, first.isEmpty());
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(help()->currentPage(), first.isEmpty() ? "BackupAndRestore.html" : first);
    }

    const QString bin = p.file("bin/");
    QVERIFY(QDir().mkpath(bin));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    for (const auto &[tool, script] : {std::pair{"", ""},
                                       {"hardinfo", "#!/no/such/shell\n"},
                                       {"kinfocenter", "#!/bin/sh\necho ran > \"$0.ran\"\n"}}) {
        QFile::remove(bin + "hardinfo");
        if (*tool) {
            p.writeFile(QStringLiteral("bin/") + tool, script);
            QFile::setPermissions(bin + tool, QFile::ReadOwner | QFile::ExeOwner);
        }
        bool closed = false;
        whenModalOpens("About", [&closed](QDialog *d) {
            click(d, "cmdSysInfo");
            click(d, "cmdOK");
            closed = !d->isVisible();
        });
        trigger("mnuHelpAbout");
        QVERIFY(closed);
    }
    qputenv("PATH", path);
    QCOMPARE(p.messages.texts(), QStringList(2, "System Information Is Unavailable At This Time"));
    QTRY_VERIFY(QFile::exists(bin + "kinfocenter.ran"));

    bool openAtBackup = true;
    p.messages.onShow = [&](const QString &) { openAtBackup = window && window->isVisible(); };
    p.messages.setNextAnswer(MessageBoxes::Yes);
    QVERIFY(w.close());
    QVERIFY(openAtBackup); // still open while the question is asked
    QVERIFY(!window || !window->isVisible());
    QTRY_VERIFY(!window);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
