#include "TestProgram.h"
#include "Widgets.h"
#include "records/ImportStudents.h"
#include "records/StudentImport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Writes `rows` with Python's own csv module, a byte-order mark first, as a
// spreadsheet program would.
bool writeWithPython(const QString &file, const QJsonArray &rows)
{
    QProcess python;
    python.start(u"python3"_s, {u"-c"_s,
                                u"import csv, json, sys\n"
                                "rows = json.load(sys.stdin)\n"
                                "with open(sys.argv[1], 'w', newline='', "
                                "encoding='utf-8-sig') as f:\n"
                                "    csv.writer(f).writerows(rows)\n"_s,
                                file});
    python.write(QJsonDocument(rows).toJson());
    python.closeWriteChannel();
    return python.waitForFinished() && python.exitStatus() == QProcess::NormalExit &&
           python.exitCode() == 0;
}

// Rows 2 and 3 hold one record, so the line after it is line 4.
const QByteArray head = "Number,Surname,Address,Birthday,Amount_Payable\n"
                        "A1,Ade,\"two\nlines\",2010-01-02,100\n";

} // namespace

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void roundTripThroughTheForm();
    void nothingImported_data();
    void nothingImported();
};

void TestImport::roundTripThroughTheForm()
{
    TestProgram p;
    p.prepareState();
    QSqlQuery(p.state->db())
        .exec(u"INSERT INTO Student (Number, Surname) VALUES ('S1', 'Adeyemi')"_s);
    // Any order and letter case; quotes, commas, line breaks, non-ASCII and empty values.
    const QJsonArray columns{"number",   "SURNAME",        "Other_Names", "Address",
                             "Birthday", "amount_payable", "Remarks"};
    const QJsonArray rows{
        columns,
        QJsonArray{"S2", "O'Brien, \"Jnr\"", "Ẹ̀mí Ọlá", "12 Mission Road\nIkeja, Lagos",
                   "2015-06-30", "1500.5", ""},
        QJsonArray{"s3", "Zoë", "", "\"Quoted\" line\r\nsecond", "", "", "Note, with comma"},
        QJsonArray{"", "", "", "", "", "", ""}, // an empty row, passed over
        QJsonArray{"s1", "Someone Else", "", "", "", "9", "must not replace S1"},
    };
    const QString file = p.file(u"Reports/students.csv"_s);
    QVERIFY(writeWithPython(file, rows));

    ImportStudents form(*p.state);
    form.chooseFile = [&](QWidget *, const QString &) { return file; };
    QVERIFY(showActive(&form));
    QTest::mouseClick(widget<QPushButton>(&form, "cmdBrowse"), Qt::LeftButton);
    const QString summary = widget<QPlainTextEdit>(&form, "txtSummary")->toPlainText();
    QVERIFY2(summary.contains(u"New students: 2"_s), qPrintable(summary));
    QVERIFY2(summary.contains(u"left as they are: 1 (s1)"_s), qPrintable(summary));
    grabPng(&form);
    QTest::mouseClick(widget<QPushButton>(&form, "cmdImport"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(p.messages.texts(), QStringList{u"2 students imported."_s});

    QSqlQuery q(p.state->db());
    QVERIFY(q.exec(u"SELECT Number, Surname, Other_Names, Address, Birthday, "
                   "Amount_Payable, Remarks FROM Student ORDER BY Number"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), u"Adeyemi"_s);
    QVERIFY(q.value(6).isNull());
    for (int r = 1; r <= 2; ++r) {
        QVERIFY(q.next());
        const QJsonArray expected = rows[r].toArray();
        for (int c = 0; c < 7; ++c) {
            const QString want = expected[c].toString();
            if (want.isEmpty())
                QVERIFY2(q.value(c).isNull(), qPrintable(columns[c].toString()));
            else
                QCOMPARE(q.value(c).toString(), c == 5 ? u"1500.5"_s : want);
        }
    }
    QVERIFY(!q.next());
}

void TestImport::nothingImported_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>(
        "line"); // of the bad line; 0: the file refused; -1: the engine refuses A3
    QTest::addColumn<QString>("words");
    const QByteArray tail = "A5,Eze,,,\n";
    QTest::newRow("text in a number column") << head + "A2,Bola,x,2010-01-02,\"1,500\"\n" + tail
                                             << 4 << "Amount_Payable \"1,500\" is not a number";
    QTest::newRow("no such day") << head + "A2,Bola,x,2010-02-30,100\n" + tail << 4
                                 << "Birthday \"2010-02-30\" is not a date (YYYY-MM-DD)";
    QTest::newRow("date in another form")
        << head + "A2,Bola,x,02/01/2010,\n" + tail << 4 << "is not a date";
    QTest::newRow("blank surname") << head + "A2,  ,x,,\n" + tail << 4 << "no Surname";
    QTest::newRow("too few values")
        << head + "A2,Bola\n" + tail << 4 << "2 values where the first line names 5 columns";
    QTest::newRow("number twice, other case")
        << head + "a1,Bola,x,,\n" + tail << 4 << "the number a1 is already on line 2";
    QTest::newRow("quote never closed")
        << head + "A2,\"Bola,x,,\nA3,Chi,x,,\n" + tail << 4 << "a quote is opened and never closed";
    QTest::newRow("unknown columns named")
        << QByteArray("Number,Surname,Shoe_Size,Hobby\nA1,Ade,40,\n") << 0 << ": Shoe_Size, Hobby.";
    QTest::newRow("no surname column")
        << QByteArray("Number,Other_Names\nA1,Ade\n") << 0 << "Number and Surname";
    QTest::newRow("a column twice")
        << QByteArray("Number,Surname,NUMBER\nA1,Ade,A1\n") << 0 << "Number (named twice)";
    QTest::newRow("not UTF-8") << QByteArray("Number,Surname\nA1,Ad\xe9\n") << 0 << "not UTF-8";
    // A row refused half way leaves none of the rows before it.
    QTest::newRow("engine refuses a row")
        << QByteArray("Surname,Number\nAde,A1\nBola,A2\nChi,A3\nDayo,A4\n") << -1
        << "refused by the test";
}

void TestImport::nothingImported()
{
    QFETCH(QByteArray, content);
    QFETCH(int, line);
    QFETCH(QString, words);
    TestProgram p;
    p.prepareState();
    QSqlQuery sql(p.state->db());
    QVERIFY(
        sql.exec(u"CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Student "
                 "WHEN NEW.Number = 'A3' BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"_s));
    p.writeFile(u"in.csv"_s, content);
    StudentImport import(p.state->db());
    QCOMPARE(import.read(p.file(u"in.csv"_s)), line != 0);
    QString said = line == 0 ? import.fault() : import.problems().value(0).text;
    if (line > 0) {
        QCOMPARE(import.problems().size(), 1);
        QCOMPARE(import.problems().first().line, line);
        QVERIFY(import.summary().contains(u"Line %1: "_s.arg(line)));
    }
    QString error;
    QVERIFY(!import.import(&error));
    if (line < 0)
        said = error;
    QVERIFY2(said.contains(words), qPrintable(said));
    QVERIFY(sql.exec(u"SELECT count(*) FROM Student"_s) && sql.next());
    QCOMPARE(sql.value(0).toInt(), 0);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
