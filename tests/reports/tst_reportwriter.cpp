#include "TestProgram.h"
#include "reports/QueryStatement.h"
#include "reports/ReportWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

using namespace ReportWriter;

namespace {

const QString Term = QStringLiteral("Second Term_2026/2027 ");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Records per page: the rows of each quoted line, the header row aside.
QList<int> recordsPerPage(const QByteArray &file)
{
    QList<int> pages;
    for (const QByteArray &line : file.split('\n'))
        if (!line.isEmpty())
            pages << int(line.count("</TR>")) - 1;
    return pages;
}

} // namespace

class TestReportWriter : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->prepareState();
    }
    void cleanup() { p.reset(); }
    void fileName_data();
    void fileName();
    void pages_data();
    void pages();
    void golden_data();
    void golden();
    void unwritable_data();
    void unwritable();
    void inChromium();

private:
    std::unique_ptr<TestProgram> p;

    Report report(const QString &name, const QStringList &fields, const QString &heading)
    {
        return {p->appPath(), QStringLiteral("Brindlemark College"),
                p->file(QStringLiteral("Reports/") + name), heading, fields};
    }
    // Every student, in number order, through the designer's own statement.
    Outcome writeStudents(const Report &r)
    {
        QSqlQuery rows = QueryStatement::whole(QStringLiteral("Student"), QStringLiteral(" ORDER BY [Number]"))
                             .run(p->state->db(), r.fields);
        return write(r, rows);
    }
    void exec(const QString &sql)
    {
        QSqlQuery q(p->state->db());
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    }
    void students(int n)
    {
        for (int i = 1; i <= n; ++i)
            exec(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES ('S%1', 'Name %1')")
                     .arg(i, 3, 10, QLatin1Char('0')));
    }
};

void TestReportWriter::fileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::newRow("words") << "  Class List " << "class list.htm";
    QTest::newRow("windows path") << "C:\\Temp\\Fees.HTML" << "fees.html";
    QTest::newRow("ends in .htm") << "Stock.htm" << "stock.htm";
    QTest::newRow("drive only") << "A:Form Two" << "form two.htm";
    QTest::newRow("climbing out") << "../../etc/passwd" << "passwd.htm";
    QTest::newRow("blanks only") << "   " << "";
    QTest::newRow("folder only") << "C:\\Temp\\" << "";
}

void TestReportWriter::fileName()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QCOMPARE(ReportWriter::fileName(typed), name);
}

void TestReportWriter::pages_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<int>>("pages");
    QTest::newRow("none: no file") << 0 << QList<int>{};
    QTest::newRow("one short page") << 3 << QList<int>{3};
    QTest::newRow("exactly two pages") << 10 << QList<int>{5, 5};
    QTest::newRow("twelve") << 12 << QList<int>{5, 5, 2};
}

void TestReportWriter::pages()
{
    QFETCH(int, records);
    QFETCH(QList<int>, pages);
    students(records);
    const Report r = report(QStringLiteral("p.htm"), {QStringLiteral("Number")}, QStringLiteral("h"));
    const Outcome outcome = writeStudents(r);
    QCOMPARE(outcome.error, QString());
    QCOMPARE(outcome.pages, pages.size());
    QCOMPARE(QFile::exists(r.path), records > 0);
    QCOMPARE(recordsPerPage(readAll(r.path)), pages);
}

// Each folder: input.sql (its "-- key: value" lines say how the report is
// asked for, the rest fills the Student table) and the expected file, where
// @APP@ stands for the program folder's file:// address.
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
    for (const QString &line : QString::fromUtf8(readAll(folder + QStringLiteral("/input.sql"))).split(u'\n')) {
        static const QRegularExpression key(QStringLiteral("^-- (\\w+): ?(.*)$"));
        const QRegularExpressionMatch m = key.match(line);
        if (m.hasMatch())
            ask.insert(m.captured(1), m.captured(2));
        else
            sql += line + u'\n';
    }
    exec(sql);
    if (ask.contains(QStringLiteral("photo")))
        p->writeFile(ask.value(QStringLiteral("photo")), readAll(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif")));

    const QString heading = firstHeading(Term, ask.value(QStringLiteral("title")),
                                         QDate::fromString(ask.value(QStringLiteral("date")), Qt::ISODate));
    const Report r = report(QStringLiteral("golden.htm"), ask.value(QStringLiteral("fields")).split(u','), heading);
    for (int i = 0; i < ask.value(QStringLiteral("generations"), QStringLiteral("1")).toInt(); ++i)
        QCOMPARE(writeStudents(r).error, QString());

    const QByteArray app = QUrl::fromLocalFile(p->appPath()).toEncoded();
    const QByteArray written = readAll(r.path).replace(app, "@APP@/");
    const QString expected = folder + QStringLiteral("/expected.htm");
    if (qEnvironmentVariableIsSet("KOLVANE_UPDATE_GOLDEN")) {
        QFile out(expected);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(written);
    }
    QCOMPARE(written, readAll(expected));
}

void TestReportWriter::unwritable_data()
{
    QTest::addColumn<QString>("reason");
    QTest::newRow("Reports folder missing") << "No such file or directory";
    QTest::newRow("disk full") << "No space left on device";
}

void TestReportWriter::unwritable()
{
    QFETCH(QString, reason);
    students(12);
    const Report r = report(QStringLiteral("x.htm"), {QStringLiteral("Number")}, QStringLiteral("h"));
    if (reason.startsWith(QLatin1String("No such")))
        QVERIFY(QDir(p->file(QStringLiteral("Reports"))).removeRecursively());
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), r.path));
    const Outcome outcome = writeStudents(r);
    QCOMPARE(outcome.error, QStringLiteral("Could not write the report ") + r.path + QStringLiteral(" (") + reason + u')');
    QCOMPARE(outcome.pages, 0);
    // Nothing made in its place.
    QCOMPARE(QDir(p->file(QStringLiteral("Reports"))).exists(), !reason.startsWith(QLatin1String("No such")));
}

// What a real browser builds from a written report: three pages, the photo
// found in a program folder whose path has a blank, an escaped remark as text.
void TestReportWriter::inChromium()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    QVERIFY2(!chromium.isEmpty(), "chromium is installed by scripts/setup");
    students(11);
    exec(QStringLiteral("UPDATE Student SET Picture = CASE Number WHEN 'S001' THEN 'Ann.gif' ELSE 'none.jpg' END"));
    exec(QStringLiteral("UPDATE Student SET Picture = 'none.jpg', Remarks = '<script>document.body.remove()</script> & co' "
                        "WHERE Number = 'S002'"));
    const QString school = p->file(QStringLiteral("St Ann School/"));
    QVERIFY(QDir().mkpath(school + QStringLiteral("Pictures/FrontView")));
    const QString photo = school + QStringLiteral("Pictures/FrontView/ann.gif");
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif"), photo));

    Report r = report(QStringLiteral("chromium.htm"), {QStringLiteral("Number"), QStringLiteral("Picture"), QStringLiteral("Remarks")},
                      firstHeading(Term, QStringLiteral("Photos")));
    r.appPath = school;
    QCOMPARE(writeStudents(r).pages, 3);

    QProcess browser;
    browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                             QStringLiteral("--dump-dom"), QString::fromLatin1(QUrl::fromLocalFile(r.path).toEncoded())});
    QVERIFY(browser.waitForFinished(60000));
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());

    const QStringList tables = dom.split(QStringLiteral("<table"), Qt::KeepEmptyParts, Qt::CaseInsensitive).mid(1);
    QCOMPARE(tables.size(), 3);
    QList<int> rows;
    for (const QString &t : tables)
        rows << int(t.section(QStringLiteral("</table>"), 0, 0, QString::SectionCaseInsensitiveSeps).count(QStringLiteral("<tr"), Qt::CaseInsensitive));
    QCOMPARE(rows, (QList<int>{6, 6, 2}));
    QVERIFY(dom.contains(QStringLiteral("&lt;script&gt;document.body.remove()&lt;/script&gt; &amp; co")));
    QVERIFY(!dom.contains(QStringLiteral("<script>")));

    static const QRegularExpression img(QStringLiteral("<img src=\"([^\"]*)\""));
    const QStringList sources = [&] {
        QStringList s;
        for (auto it = img.globalMatch(dom); it.hasNext();)
            s << it.next().captured(1);
        return s;
    }();
    QCOMPARE(sources.size(), 1);
    QCOMPARE(QUrl(sources.at(0)).toLocalFile(), photo);
}

QTEST_GUILESS_MAIN(TestReportWriter)
#include "tst_reportwriter.moc"
