#include "Modal.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/HelpWindow.h"
#include "app/KolvaneMain.h"
#include "app/SdlSoundPlayer.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QScopeGuard>
#include <QSet>
#include <SDL_mixer.h>
#include <algorithm>
#include <csignal>

using namespace Qt::StringLiterals;

// What the program folder brings: the help pages and the sounds.
class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void pagesSystemInfoThenExit();
    void realPlayerReachesOutput_data();
    void realPlayerReachesOutput();
    void pieceOrderFollowsSeed();
};

// From the keyboard: Alt and a menu's letter, then F1 closes the menu and shows its
// page; F1 with no menu open and the Contents item show the contents. Search finds
// the pages holding every word, in any case, Enter opening the first. System Info
// says there is none when no tool is on the PATH or none found starts, else starts
// the first that starts (past one that fails) without waiting for it. Exit closes the help window
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
    // Each menu's letter is its page's first.
    for (const QString &page : {u"ActionMenu"_s, u"UponMenu"_s, u"ToolsMenu"_s, u"HelpMenu"_s}) {
        QTest::keyClick(&w, Qt::Key(page.front().unicode()), Qt::AltModifier);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QTest::keyClick(menu, Qt::Key_F1);
        QTRY_VERIFY(help() && help()->isVisible());
        QVERIFY(!menu->isVisible());
        QCOMPARE(help()->currentPage(), page + u".html"_s);
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

void TestHelp::realPlayerReachesOutput_data()
{
    QTest::addColumn<bool>("device");   // SDL's disk device, or none
    QTest::addColumn<QString>("wave");  // under Sounds/Wav of the built program folder; empty: none
    QTest::addColumn<QString>("piece"); // under Sounds/Midi
    QTest::addColumn<bool>("stopped"); // the piece stopped as soon as asked for
    QTest::addColumn<bool>("heard");
    QTest::newRow("intro prompt") << true << u"Intro.Wav"_s << QString() << false << true;
    QTest::newRow("midi piece") << true << QString() << u"OdeToJoy.mid"_s << false << true;
    QTest::newRow("piece stopped while read")
        << true << QString() << u"OdeToJoy.mid"_s << true << false;
    QTest::newRow("missing files") << true << u"Gone.Wav"_s << u"Gone.mid"_s << false << false;
    QTest::newRow("no device") << false << u"Intro.Wav"_s << u"OdeToJoy.mid"_s << false << false;
}

// Through SDL's disk device the sound reaches the output file, and a piece
// reads as playing until it is stopped. Without a device, or without a
// playable file, every call stays quiet.
void TestHelp::realPlayerReachesOutput()
{
    QFETCH(bool, device);
    QFETCH(QString, wave);
    QFETCH(QString, piece);
    QFETCH(bool, stopped);
    QFETCH(bool, heard);
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("out.raw"));
    qputenv("SDL_AUDIODRIVER", device ? "disk" : "none");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    {
        // As in the program, the signals the session ends it with start at their
        // default; the audio library must leave them so.
        struct sigaction defaults = {}, test[2] = {}, after = {}; // zeroed: SIG_DFL
        for (int i : {0, 1})
            sigaction(i ? SIGINT : SIGTERM, &defaults, &test[i]);
        SdlSoundPlayer player;
        for (int i : {0, 1}) {
            sigaction(i ? SIGINT : SIGTERM, &test[i], &after);
            QVERIFY(after.sa_handler == SIG_DFL);
        }
        QCOMPARE(player.isOpen(), device);
        if (!wave.isEmpty())
            player.playWave(KOLVANE_PROGRAM_DIR "/Sounds/Wav/" + wave, SoundPlayer::PromptMode);
        if (!piece.isEmpty()) {
            player.playMusic(KOLVANE_PROGRAM_DIR "/Sounds/Midi/" + piece);
            // The piece is read on the worker (the whole sound font): the
            // window goes on meanwhile, and the piece reads as playing.
            QVERIFY(!player.isOpen() || !Mix_PlayingMusic());
            QCOMPARE(player.musicPlaying(), heard || stopped);
            if (stopped)
                player.stopMusic();
        }
        QTest::qWait(900);
        player.stopMusic();
        player.stopWave();
        QVERIFY(!player.musicPlaying());
    }
    // Sound rather than silence in the raw 16-bit output.
    const QByteArray bytes = fileBytes(output);
    const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
    const auto loud = std::count_if(samples, samples + bytes.size() / 2,
                                    [](qint16 sample) { return qAbs(int(sample)) > 500; });
    QCOMPARE(loud > 1000, heard);
}

// Music opens with the first file of the folder, then a random one picked with the
// time as its seed, then the files after it in turn, back to the start after the
// last. The same time picks the same file; other times pick others.
void TestHelp::pieceOrderFollowsSeed()
{
    const QStringList files = {"/m/a.mid", "/m/b.mid", "/m/c.mid"};
    auto order = [&files](int minute) {
        TestProgram p;
        p.clock.current = p.clock.current.addSecs(60 * minute);
        p.state->MusicFiles = files;
        KolvaneMain w(*p.state);
        w.abandon();
        for (int i = 0; i < 5; ++i)
            w.PlayNextPiece();
        return p.sound.calls.filter(QStringLiteral("music "))
            .replaceInStrings(QStringLiteral("music "), "/m/");
    };
    QSet<QString> seconds;
    for (int minute = 0; minute < 12; ++minute) {
        const QStringList pieces = order(minute);
        QCOMPARE(pieces.size(), 6);
        QCOMPARE(pieces.first(), files.first());
        const auto start = files.indexOf(pieces.at(1));
        for (int i = 1; i < 6; ++i)
            QCOMPARE(pieces.at(i), files.at((start + i - 1) % 3));
        QCOMPARE(order(minute), pieces);
        seconds << pieces.at(1);
    }
    QVERIFY(seconds.size() > 1);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
