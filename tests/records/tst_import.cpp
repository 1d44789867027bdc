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

namespace {

// Writes `rows` with Python's own csv module, a byte-order mark first, as a
// spreadsheet program would.
bool writeWithPython(const QString &file, const QJsonArray &rows)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "rows = json.load(sys.stdin)\n"
                                 "with open(sys.argv[1], 'w', newline='', "
                                 "encoding='utf-8-sig') as f:\n"
                                 "    csv.writer(f).writerows(rows)\n"),
                  file});
    python.write(QJsonDocument(rows).toJson());
    python.closeWriteChannel();
    return python.waitForFinished() && python.exitStatus() == QProcess::NormalExit &&
           python.exitCode() == 0;
}

int students(const TestProgram &p)
{
    return column(p.file(QStringLiteral("Progs/Kolvane.db")),
                  QStringLiteral("SELECT count(*) FROM Student"))
        .value(0)
        .toInt();
}

// Rows 2 and 3 hold one record; the line under test is line 4.
const QByteArray head = "Number,Surname,Address,Birthday,Amount_Payable\n"
                        "A1,Ade,\"two\nlines\",2010-01-02,100\n";
const QByteArray tail = "A5,Eze,,,\n";

} // namespace

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void roundTripThroughTheForm();
    void oneBadLineImportsNothing_data();
    void oneBadLineImportsNothing();
    void refusedFiles_data();
    void refusedFiles();
    void allRowsOrNone();
};

void TestImport::roundTripThroughTheForm()
{
    TestProgram p;
    p.prepareState();
    QSqlQuery(p.state->db())
        .exec(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES ('S1', 'Adeyemi')"));
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
    const QString file = p.file(QStringLiteral("Reports/students.csv"));
    QVERIFY(writeWithPython(file, rows));

    ImportStudents form(*p.state);
    QString folder;
    form.chooseFile = [&](QWidget *, const QString &start) {
        folder = start;
        return file;
    };
    QVERIFY(showActive(&form));
    QTest::mouseClick(widget<QPushButton>(&form, "cmdBrowse"), Qt::LeftButton);
    QCOMPARE(folder, p.file(QStringLiteral("Reports")));
    const QString summary = widget<QPlainTextEdit>(&form, "txtSummary")->toPlainText();
    QVERIFY2(summary.contains(QStringLiteral("New students: 2")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("left as they are: 1 (s1)")), qPrintable(summary));
    grabPng(&form);
    QTest::mouseClick(widget<QPushButton>(&form, "cmdImport"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(p.messages.texts(), QStringList{QStringLiteral("2 students imported.")});

    QSqlQuery q(p.state->db());
    QVERIFY(q.exec(QStringLiteral("SELECT Number, Surname, Other_Names, Address, Birthday, "
                                  "Amount_Payable, Remarks FROM Student ORDER BY Number")));
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), QStringLiteral("Adeyemi"));
    QVERIFY(q.value(6).isNull());
    for (int r = 1; r <= 2; ++r) {
        QVERIFY(q.next());
        const QJsonArray expected = rows[r].toArray();
        for (int c = 0; c < 7; ++c) {
            const QString want = expected[c].toString();
            if (want.isEmpty())
                QVERIFY2(q.value(c).isNull(), qPrintable(columns[c].toString()));
            else
                QCOMPARE(q.value(c).toString(), c == 5 ? QStringLiteral("1500.5") : want);
        }
    }
    QVERIFY(!q.next());
}

void TestImport::oneBadLineImportsNothing_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("words");
    QTest::newRow("text in a number column") << QByteArray("A2,Bola,x,2010-01-02,\"1,500\"\n")
                                             << "Amount_Payable \"1,500\" is not a number";
    QTest::newRow("no such day") << QByteArray("A2,Bola,x,2010-02-30,100\n")
                                 << "Birthday \"2010-02-30\" is not a date (YYYY-MM-DD)";
    QTest::newRow("date in another form")
        << QByteArray("A2,Bola,x,02/01/2010,\n") << "is not a date";
    QTest::newRow("no number") << QByteArray(",Bola,x,,\n") << "no Number";
    QTest::newRow("blank surname") << QByteArray("A2,  ,x,,\n") << "no Surname";
    QTest::newRow("too few values")
        << QByteArray("A2,Bola\n") << "2 values where the first line names 5 columns";
    QTest::newRow("number twice, other case")
        << QByteArray("a1,Bola,x,,\n") << "the number a1 is already on line 2";
    QTest::newRow("quote never closed")
        << QByteArray("A2,\"Bola,x,,\nA3,Chi,x,,\n") << "a quote is opened and never closed";
}

void TestImport::oneBadLineImportsNothing()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, words);
    TestProgram p;
    p.prepareState();
    p.writeFile(QStringLiteral("in.csv"), head + line + tail);
    StudentImport import(p.state->db());
    QVERIFY(import.read(p.file(QStringLiteral("in.csv"))));
    QCOMPARE(import.problems().size(), 1);
    QCOMPARE(import.problems().first().line, 4);
    QVERIFY2(import.problems().first().text.contains(words),
             qPrintable(import.problems().first().text));
    QVERIFY(import.summary().contains(QStringLiteral("Line 4: ")));
    QVERIFY(!import.canImport());
    QString error;
    QVERIFY(!import.import(&error));
    QCOMPARE(students(p), 0);
}

void TestImport::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("words");
    QTest::newRow("unknown columns named")
        << QByteArray("Number,Surname,Shoe_Size,Hobby\nA1,Ade,40,\n") << ": Shoe_Size, Hobby.";
    QTest::newRow("no surname column")
        << QByteArray("Number,Other_Names\nA1,Ade\n") << "Number and Surname";
    QTest::newRow("a column twice")
        << QByteArray("Number,Surname,NUMBER\nA1,Ade,A1\n") << "Number (named twice)";
    QTest::newRow("not UTF-8") << QByteArray("Number,Surname\nA1,Ad\xe9\n") << "not UTF-8";
    QTest::newRow("empty") << QByteArray("\xef\xbb\xbf") << "empty";
}

void TestImport::refusedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, words);
    TestProgram p;
    p.prepareState();
    p.writeFile(QStringLiteral("in.csv"), content);
    StudentImport import(p.state->db());
    QVERIFY(!import.read(p.file(QStringLiteral("in.csv"))));
    QVERIFY2(import.fault().contains(words), qPrintable(import.fault()));
    QString error;
    QVERIFY(!import.import(&error));
    QCOMPARE(students(p), 0);
}

// A row the engine refuses half way leaves none of the rows before it.
void TestImport::allRowsOrNone()
{
    TestProgram p;
    p.prepareState();
    QSqlQuery(p.state->db())
        .exec(QStringLiteral(
            "CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Student WHEN NEW.Number = 'A3' "
            "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    p.writeFile(QStringLiteral("in.csv"), "Surname,Number\nAde,A1\nBola,A2\nChi,A3\nDayo,A4\n");
    StudentImport import(p.state->db());
    QVERIFY(import.read(p.file(QStringLiteral("in.csv"))));
    QCOMPARE(import.newRows(), 4);
    QString error;
    QVERIFY(!import.import(&error));
    QVERIFY2(error.contains(QStringLiteral("refused by the test")), qPrintable(error));
    QCOMPARE(students(p), 0);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
