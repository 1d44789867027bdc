#include "Fakes.h"
#include "platform/SystemDesktop.h"
#include "reports/BrowserLaunch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The launcher through the real xdg-open and xdg-mime, in a desktop of its own:
// a temporary configuration whose text/html and mailto handler is a test entry
// that records what it was given.
class TestBrowserLaunch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char *v : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                              "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "BROWSER"})
            qunsetenv(v);
        // xdg-open only looks for handlers when there is a display.
        qputenv("DISPLAY", ":99");
    }
    void launch_data();
    void launch();
};

void TestBrowserLaunch::launch_data()
{
    QTest::addColumn<QString>("exec");   // the handler's command; empty: none registered
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("target"); // under the temporary folder when it starts with "/"
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("message");
    QTest::newRow("report page") << "recorder" << 0 << "/Reports/class list.htm" << "/Reports/class list.htm" << "";
    QTest::newRow("mail address") << "recorder" << 1 << "head@school.example" << "mailto:head@school.example" << "";
    // A handler whose program is missing is no handler to xdg-mime.
    QTest::newRow("handler missing") << "/nonexistent/browser" << 0 << "/Reports/a.htm" << ""
                                     << "Could not find a functional Web Browser associated with .htm files";
    QTest::newRow("no browser") << "" << 0 << "/Reports/a.htm" << ""
                                << "Could not find a functional Web Browser associated with .htm files";
    QTest::newRow("browser fails to start") << "false" << 0 << "/Reports/a.htm" << ""
                                          << "Could not open associated Browser or report page";
}

void TestBrowserLaunch::launch()
{
    QFETCH(QString, exec);
    QFETCH(int, kind);
    QFETCH(QString, target);
    QFETCH(QString, received);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char *v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
        qputenv(v, (root + u'/' + QLatin1String(v)).toLocal8Bit());
    QVERIFY(QDir().mkpath(root + QStringLiteral("/XDG_DATA_HOME/applications")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/XDG_CONFIG_HOME")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/Reports")));
    auto put = [](const QString &path, const QByteArray &text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    if (target.startsWith(u'/')) {
        target = root + target;
        if (!received.isEmpty())
            received = root + received;
        put(target, "\"<HTML><BODY>page</BODY></HTML>\"\r\n");
    }
    const QString got = root + QStringLiteral("/got");
    if (!exec.isEmpty()) {
        if (exec == QLatin1String("recorder")) {
            exec = root + QStringLiteral("/recorder");
            put(exec, "#!/bin/sh\nprintf '%s' \"$1\" > '" + got.toUtf8() + "'\n");
            QFile::setPermissions(exec, QFile::permissions(exec) | QFile::ExeOwner);
        }
        put(root + QStringLiteral("/XDG_DATA_HOME/applications/recorder.desktop"),
            "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + exec.toUtf8() + " %u\n");
        put(root + QStringLiteral("/XDG_CONFIG_HOME/mimeapps.list"),
            "[Default Applications]\ntext/html=recorder.desktop\nx-scheme-handler/mailto=recorder.desktop\n");
    }

    ScriptedMessageBoxes messages;
    SystemDesktop desktop;
    OpenReportPage(desktop, messages, kind, target);
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    QFile file(got);
    QCOMPARE(file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString(), received);
}

QTEST_GUILESS_MAIN(TestBrowserLaunch)
#include "tst_browserlaunch.moc"
