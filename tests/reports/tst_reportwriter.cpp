#include "TestProgram.h"
#include "platform/SystemDesktop.h"
#include "reports/BrowserLaunch.h"
#include "reports/QueryStatement.h"
#include "reports/ReportWriter.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace ReportWriter;

static QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class TestReportWriter : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestProgram> p;

    void exec(const QString &sql)
    {
        QSqlQuery q(p->state->db());
        QVERIFY2(sql.trimmed().isEmpty() || q.exec(sql), qPrintable(q.lastError().text()));
    }

private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->prepareState();
    }
    void cleanup() { p.reset(); }
    void fileName();
    void golden_data();
    void golden();
    void inChromium();
    void launch();
};

// A typed name as the report's file in the Reports folder; blanks only: none.
void TestReportWriter::fileName()
{
    const QList<std::pair<QString, QString>> cases{{"  Class List ", "class list.htm"},
                                                   {"C:\\Temp\\Fees.HTML", "fees.html"},
                                                   {"A:Form Two", "form two.htm"},
                                                   {"../../etc/passwd", "passwd.htm"},
                                                   {"   ", ""}};
    for (const auto &[typed, name] : cases)
        QCOMPARE(ReportWriter::fileName(typed), name);
}

// Each folder: input.sql, whose "-- key: value" lines say how the report is
// asked for and whose rest fills the Student table, and expected.htm (none:
// no file), where @APP@ stands for the program folder's file:// address.
void TestReportWriter::golden_data()
{
    QTest::addColumn<QString>("folder");
    const QDir data(QStringLiteral(KOLVANE_TEST_DATA));
    for (const QString &c : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QTest::newRow(qPrintable(c)) << data.filePath(c);
}

void TestReportWriter::golden()
{
    QFETCH(QString, folder);
    QHash<QString, QString> ask;
    QString sql;
    static const QRegularExpression key(QStringLiteral("^-- (\\w+): ?(.*)$"));
    for (const QString &line :
         QString::fromUtf8(readAll(folder + QStringLiteral("/input.sql"))).split(u'\n')) {
        const QRegularExpressionMatch m = key.match(line);
        m.hasMatch() ? void(ask.insert(m.captured(1), m.captured(2))) : void(sql += line + u'\n');
    }
    exec(sql);
    if (ask.contains(QStringLiteral("photo")))
        p->writeFile(ask.value(QStringLiteral("photo")),
                     readAll(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif")));

    const QString title = ask.value(QStringLiteral("title"));
    const Report r{p->appPath(), QStringLiteral("Brindlemark College"),
                   p->file(QStringLiteral("Reports/golden.htm")),
                   firstHeading(QStringLiteral("Second Term_2026/2027 "), title,
                                QDate::fromString(ask.value(QStringLiteral("date")), Qt::ISODate)),
                   ask.value(QStringLiteral("fields")).split(u',')};
    for (int i = 0; i < ask.value(QStringLiteral("generations"), QStringLiteral("1")).toInt();
         ++i) {
        QSqlQuery rows =
            QueryStatement::whole(QStringLiteral("Student"), QStringLiteral(" ORDER BY [Number]"))
                .run(p->state->db(), r.fields);
        QCOMPARE(write(r, rows).error, QString());
    }

    const QByteArray written =
        readAll(r.path).replace(QUrl::fromLocalFile(p->appPath()).toEncoded(), "@APP@/");
    const QString expected = folder + QStringLiteral("/expected.htm");
    if (qEnvironmentVariableIsSet("KOLVANE_UPDATE_GOLDEN") && !written.isEmpty()) {
        QFile out(expected);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(written) == written.size());
    }
    QCOMPARE(QFile::exists(r.path), QFile::exists(expected));
    QCOMPARE(written, readAll(expected));
}

// What a real browser builds from a written report: three pages, the photo
// found in a program folder whose path has a blank, an escaped remark as text.
void TestReportWriter::inChromium()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    QVERIFY2(!chromium.isEmpty(), "scripts/setup installs chromium");
    exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 11) "
        "INSERT INTO Student (Number, Picture) SELECT printf('S%02d', i), 'none.jpg' FROM n"));
    exec(QStringLiteral("UPDATE Student SET Picture = 'Ann.gif', Remarks = "
                        "'<script>document.body.remove()</script> & co' "
                        "WHERE Number = 'S01'"));
    const QString school = p->file(QStringLiteral("St Ann School/"));
    QVERIFY(QDir().mkpath(school + QStringLiteral("Pictures/FrontView")));
    const QString photo = school + QStringLiteral("Pictures/FrontView/ann.gif");
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif"), photo));
    const Report r{school,
                   QStringLiteral("Brindlemark College"),
                   p->file(QStringLiteral("Reports/r.htm")),
                   firstHeading(QStringLiteral("Second Term_2026/2027 "), QStringLiteral("Photos")),
                   {"Number", "Picture", "Remarks"}};
    QSqlQuery students =
        QueryStatement::whole(QStringLiteral("Student"), QStringLiteral(" ORDER BY [Number]"))
            .run(p->state->db(), r.fields);
    QCOMPARE(write(r, students).pages, 3);

    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--dump-dom",
                             QUrl::fromLocalFile(r.path).toString()});
    QVERIFY(browser.waitForFinished(60000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    QList<int> rows;
    for (const QString &table : dom.split(QStringLiteral("<table")).mid(1))
        rows << int(table.section(QStringLiteral("</table>"), 0, 0).count(QStringLiteral("<tr")));
    QCOMPARE(rows, (QList<int>{6, 6, 2}));
    QVERIFY(dom.contains(
        QStringLiteral("&lt;script&gt;document.body.remove()&lt;/script&gt; &amp; co")));
    static const QRegularExpression img(QStringLiteral("<img src=\"([^\"]*)\""));
    QCOMPARE(dom.count(img), 1);
    QCOMPARE(QUrl(img.match(dom).captured(1)).toLocalFile(), photo);
}

// The launcher through the real xdg-mime and xdg-open, in a desktop of its own
// whose text/html and mailto handler is a test entry: none, one whose program
// is missing, one that fails, then one that records its argument.
void TestReportWriter::launch()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char *v : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                          "GNOME_DESKTOP_SESSION_ID", "BROWSER"})
        qunsetenv(v);
    qputenv("DISPLAY", ":99"); // xdg-open looks for handlers only with a display
    for (const char *v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
        qputenv(v, (root + u'/' + QLatin1String(v)).toLocal8Bit());
    QVERIFY(QDir().mkpath(root + QStringLiteral("/XDG_DATA_HOME/applications")));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/XDG_CONFIG_HOME")));
    auto put = [](const QString &path, const QByteArray &text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    };
    const QString page = root + QStringLiteral("/class list.htm");
    put(page, "\"<HTML></HTML>\"\r\n");
    put(root + QStringLiteral("/recorder"),
        "#!/bin/sh\nprintf '%s' \"$1\" > '" + root.toUtf8() + "/got'\n");
    QVERIFY(QFile::setPermissions(root + QStringLiteral("/recorder"),
                                  QFile::ReadOwner | QFile::ExeOwner));
    // The messages of opening `target` with `exec` as the handler (none when empty).
    auto open = [&](const QString &exec, int kind, const QString &target) {
        if (!exec.isEmpty()) {
            put(root + QStringLiteral("/XDG_DATA_HOME/applications/t.desktop"),
                "[Desktop Entry]\nType=Application\nName=T\nExec=" + exec.toUtf8() + " %u\n");
            put(root + QStringLiteral("/XDG_CONFIG_HOME/mimeapps.list"),
                "[Default Applications]\ntext/html=t.desktop\nx-scheme-handler/mailto=t.desktop\n");
        }
        ScriptedMessageBoxes messages;
        SystemDesktop desktop;
        OpenReportPage(desktop, messages, kind, target);
        return messages.texts().join(u'\n');
    };
    const QString none =
        QStringLiteral("Could not find a functional Web Browser associated with .htm files");
    QCOMPARE(open(QString(), 0, page), none);
    QCOMPARE(open(QStringLiteral("/nonexistent/browser"), 0, page), none);
    QCOMPARE(open(QStringLiteral("false"), 0, page),
             QStringLiteral("Could not open associated Browser or report page"));
    const QString got = root + QStringLiteral("/got");
    QCOMPARE(open(root + QStringLiteral("/recorder"), 0, page), QString());
    QCOMPARE(readAll(got), page.toUtf8());
    QCOMPARE(open(root + QStringLiteral("/recorder"), 1, QStringLiteral("head@school.example")),
             QString());
    QCOMPARE(readAll(got), QByteArray("mailto:head@school.example"));
}

QTEST_GUILESS_MAIN(TestReportWriter)
#include "tst_reportwriter.moc"
