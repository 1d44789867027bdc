#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/SdlSoundPlayer.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>

class TestSound : public QObject
{
    Q_OBJECT
private slots:
    void realPlayerReachesOutput_data();
    void realPlayerReachesOutput();
    void pieceOrderFollowsSeed();
};

void TestSound::realPlayerReachesOutput_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QString>("wave"); // under the built program folder; "" none
    QTest::addColumn<QString>("piece");
    QTest::addColumn<bool>("heard");
    QTest::newRow("intro prompt") << QByteArray("disk") << "Sounds/Wav/Intro.Wav"
                                  << "" << true;
    QTest::newRow("midi piece") << QByteArray("disk") << ""
                                << "Sounds/Midi/OdeToJoy.mid" << true;
    QTest::newRow("missing files") << QByteArray("disk") << "Sounds/Wav/Gone.Wav"
                                   << "Sounds/Midi/Gone.mid" << false;
    QTest::newRow("no device") << QByteArray("none") << "Sounds/Wav/Intro.Wav"
                               << "Sounds/Midi/OdeToJoy.mid" << false;
}

// Through SDL's disk device the sound reaches the output file, and a piece
// reads as playing until it is stopped. Without a device, or without a
// playable file, every call stays quiet.
void TestSound::realPlayerReachesOutput()
{
    QFETCH(QByteArray, device);
    QFETCH(QString, wave);
    QFETCH(QString, piece);
    QFETCH(bool, heard);
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("out.raw"));
    qputenv("SDL_AUDIODRIVER", device);
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    {
        // As in the program, the signals the session ends it with start at their
        // default; the audio library must leave them so.
        struct sigaction defaults = {}, test[2] = {}, after = {};
        defaults.sa_handler = SIG_DFL;
        for (int i : {0, 1})
            sigaction(i ? SIGINT : SIGTERM, &defaults, &test[i]);
        SdlSoundPlayer player;
        for (int i : {0, 1}) {
            sigaction(i ? SIGINT : SIGTERM, &test[i], &after);
            QVERIFY(after.sa_handler == SIG_DFL);
        }
        QCOMPARE(player.isOpen(), device == "disk");
        if (!wave.isEmpty())
            player.playWave(KOLVANE_PROGRAM_DIR "/" + wave, SoundPlayer::PromptMode);
        if (!piece.isEmpty()) {
            player.playMusic(KOLVANE_PROGRAM_DIR "/" + piece);
            QCOMPARE(player.musicPlaying(), heard);
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

// The first piece, then one drawn with the clock as the seed, then on in list order
// with wrap-around. The same moment draws the same piece; moments differ.
void TestSound::pieceOrderFollowsSeed()
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

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
