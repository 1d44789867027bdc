#include "TestProgram.h"
#include "Widgets.h"
#include "platform/SystemDesktop.h"
#include "reports/BrowserLaunch.h"
#include "reports/QueryStatement.h"
#include "reports/ReportWriter.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

using namespace ReportWriter;

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
    QCOMPARE(ReportWriter::fileName(u"  Class List "_s), u"class list.htm"_s);
    QCOMPARE(ReportWriter::fileName(u"C:\\Temp\\Fees.HTML"_s), u"fees.html"_s);
    QCOMPARE(ReportWriter::fileName(u"A:Form Two"_s), u"form two.htm"_s);
    QCOMPARE(ReportWriter::fileName(u"../../etc/passwd"_s), u"passwd.htm"_s);
    QCOMPARE(ReportWriter::fileName(u"   "_s), QString());
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
    const QString input = QString::fromUtf8(fileBytes(folder + u"/input.sql"_s));
    static const QRegularExpression key(u"^-- (\\w+): ?(.*)$"_s,
                                        QRegularExpression::MultilineOption);
    QHash<QString, QString> ask;
    for (const QRegularExpressionMatch &m : key.globalMatch(input))
        ask.insert(m.captured(1), m.captured(2));
    exec(QString(input).remove(key));
    p->writeFile(u"Pictures/FrontView/ann.gif"_s,
                 fileBytes(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif")));

    const Report r{p->appPath(), u"Brindlemark College"_s, p->file(u"Reports/golden.htm"_s),
                   firstHeading(u"Second Term_2026/2027 "_s, ask.value(u"title"_s),
                                QDate::fromString(ask.value(u"date"_s), Qt::ISODate)),
                   ask.value(u"fields"_s).split(u',')};
    for (int i = 0; i < ask.value(u"generations"_s, u"1"_s).toInt(); ++i) {
        QSqlQuery rows = QueryStatement::whole(u"Student"_s, u" ORDER BY [Number]"_s)
                             .run(p->state->db(), r.fields);
        QCOMPARE(write(r, rows).error, QString());
    }

    const QByteArray written =
        fileBytes(r.path).replace(QUrl::fromLocalFile(p->appPath()).toEncoded(), "@APP@/");
    const QString expected = folder + u"/expected.htm"_s;
    QCOMPARE(QFile::exists(r.path), QFile::exists(expected));
    QCOMPARE(written, fileBytes(expected));
}

// What a real browser builds from a written report: three pages, the photo
// found in a program folder whose path has a blank.
void TestReportWriter::inChromium()
{
    const QString chromium = QStandardPaths::findExecutable(u"chromium"_s);
    QVERIFY2(!chromium.isEmpty(), "scripts/setup installs chromium");
    exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 11) "
        "INSERT INTO Student (Number, Picture) "
        "SELECT printf('S%02d', i), iif(i = 1, 'Ann.gif', 'none.jpg') FROM n"));
    const QString school = p->file(u"St Ann School/"_s);
    QVERIFY(QDir().mkpath(school + u"Pictures/FrontView"_s));
    const QString photo = school + u"Pictures/FrontView/ann.gif"_s;
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif"), photo));
    const Report r{school, u"Brindlemark College"_s, p->file(u"Reports/r.htm"_s),
                   firstHeading(u"Second Term_2026/2027 "_s, u"Photos"_s),
                   QStringList{"Number", "Picture"}};
    QSqlQuery students =
        QueryStatement::whole(u"Student"_s, u" ORDER BY [Number]"_s).run(p->state->db(), r.fields);
    QCOMPARE(write(r, students).pages, 3);

    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--dump-dom",
                             QUrl::fromLocalFile(r.path).toString()});
    QVERIFY(browser.waitForFinished(60000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    QList<int> rows;
    for (const QString &table : dom.split(u"<table"_s).mid(1))
        rows << int(table.section(u"</table>"_s, 0, 0).count(u"<tr"_s));
    QCOMPARE(rows, (QList<int>{6, 6, 2}));
    static const QRegularExpression img(u"<img src=\"([^\"]*)\""_s);
    QCOMPARE(dom.count(img), 1);
    QCOMPARE(QUrl(img.match(dom).captured(1)).toLocalFile(), photo);
}

// The launcher through the real xdg-mime and xdg-open, in a desktop of its own
// whose text/html and mailto handler is a test entry: none, one whose program
// is missing, one that fails, then one that records its argument.
void TestReportWriter::launch()
{
    const QString root = p->appPath();
    for (const char *v : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                          "GNOME_DESKTOP_SESSION_ID", "BROWSER"})
        qunsetenv(v);
    qputenv("DISPLAY", ":99"); // xdg-open looks for handlers only with a display
    for (const char *v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
        qputenv(v, (root + QLatin1String(v)).toLocal8Bit());
    QVERIFY(QDir().mkpath(root + u"XDG_DATA_HOME/applications"_s));
    QVERIFY(QDir().mkpath(root + u"XDG_CONFIG_HOME"_s));
    const QString page = root + u"class list.htm"_s;
    p->writeFile(u"class list.htm"_s, "\"<HTML></HTML>\"\r\n");
    p->writeFile(u"recorder"_s, "#!/bin/sh\nprintf '%s' \"$1\" > '" + root.toUtf8() + "got'\n");
    QVERIFY(QFile::setPermissions(root + u"recorder"_s, QFile::ReadOwner | QFile::ExeOwner));
    // The messages of opening `target` with `exec` as the handler (none when empty).
    auto open = [&](const QString &exec, int kind, const QString &target) {
        if (!exec.isEmpty()) {
            p->writeFile(u"XDG_DATA_HOME/applications/t.desktop"_s,
                         "[Desktop Entry]\nType=Application\nName=T\nExec=" + exec.toUtf8() +
                             " %u\n");
            p->writeFile(
                u"XDG_CONFIG_HOME/mimeapps.list"_s,
                "[Default Applications]\ntext/html=t.desktop\nx-scheme-handler/mailto=t.desktop\n");
        }
        ScriptedMessageBoxes messages;
        SystemDesktop desktop;
        OpenReportPage(desktop, messages, kind, target);
        return messages.texts().join(u'\n');
    };
    const QString none = u"Could not find a functional Web Browser associated with .htm files"_s;
    QCOMPARE(open(QString(), 0, page), none);
    QCOMPARE(open(u"/nonexistent/browser"_s, 0, page), none);
    QCOMPARE(open(u"false"_s, 0, page), u"Could not open associated Browser or report page"_s);
    QCOMPARE(open(root + u"recorder"_s, 0, page), QString());
    QCOMPARE(fileBytes(root + u"got"_s), page.toUtf8());
    QCOMPARE(open(root + u"recorder"_s, 1, u"head@school.example"_s), QString());
    QCOMPARE(fileBytes(root + u"got"_s), QByteArray("mailto:head@school.example"));
}

QTEST_GUILESS_MAIN(TestReportWriter)
#include "tst_reportwriter.moc"
