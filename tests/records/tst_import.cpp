#include "TestProgram.h"
#include "Widgets.h"
#include "records/ImportStudents.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

// The table as the engine quotes it, a line a row; S1 is there before each import.
static const QString dump =
    u"SELECT group_concat(r, char(10)) FROM (SELECT quote(Number) || '|' || "
    "quote(Surname) || '|' || quote(Other_Names) || '|' || quote(Address) || "
    "'|' || quote(Birthday) || '|' || quote(Amount_Payable) || '|' || "
    "quote(Remarks) AS r FROM Student ORDER BY Number)"_s;

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void throughTheForm_data();
    void throughTheForm();
};

void TestImport::throughTheForm_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("summary"); // parts of what the form shows
    QTest::addColumn<QString>("said");        // after Import; none: Import cannot be clicked
    QTest::addColumn<QString>("stored");      // after S1
    // Any order and letter case; quotes, commas, line breaks, non-ASCII and
    // empty values (stored as null); an empty row passed over; S1 left as it is.
    // The bytes are those a spreadsheet writes: a byte-order mark, quotes
    // doubled, CRLF after each row.
    QTest::newRow("written by a spreadsheet")
        << QByteArray(
               "\xEF\xBB\xBFnumber,SURNAME,Other_Names,Address,Birthday,amount_payable,"
               "Remarks\r\nS2,\"O'Brien, \"\"Jnr\"\"\",Ẹ̀mí Ọlá,\"12 Mission Road\nIkeja, "
               "Lagos\",2015-06-30,1500.5,\r\ns3,Zoë,,\"\"\"Quoted\"\" line\r\nsecond\",,,"
               "\"Note, with comma\"\r\n,,,,,,\r\ns1,Someone Else,,,,9,must not replace S1\r\n")
        << QStringList{"New students: 2\nNumbers already in the table, left as they are: 1 (s1)"}
        << u"2 students imported."_s
        << u"\n'S2'|'O''Brien, \"Jnr\"'|'Ẹ̀mí Ọlá'|'12 Mission Road\nIkeja, Lagos'|'2015-06-30'|"
           "1500.5|NULL\n's3'|'Zoë'|NULL|'\"Quoted\" line\r\nsecond'|NULL|NULL|'Note, with comma'"_s;
    // A row refused half way leaves none of the rows before it.
    QTest::newRow("engine refuses a row")
        << QByteArray("Surname,Number\nAde,A1\nBola,A2\nChi,A3\nDayo,A4\n")
        << QStringList{"New students: 4"} << u"refused by the test"_s << QString();

    // Refused as a whole, or lines that cannot be read: nothing can be imported.
    const auto refused = [](const char *name, const QByteArray &content, const QStringList &words) {
        QTest::newRow(name) << content << words << QString() << QString();
    };
    // Rows 2 and 3 hold one record, so the lines after it start at line 4; each is named
    // with its fault. A quote never closed takes the rest of the file, so it comes last.
    refused("lines that cannot be read",
            "Number,Surname,Address,Birthday,Amount_Payable\nA1,Ade,\"two\nlines\",2010-01-02,100\n"
            "A2,Bola,x,2010-01-02,\"1,500\"\nA3,Bola,x,2010-02-30,100\nA4,Bola,x,02/01/2010,\n"
            "A5,  ,x,,\nA6,Bola\na1,Bola,x,,\nA7,\"Bola,x,,\nA8,Chi,x,,\n",
            {"cannot be read: 7\n", "Line 4: Amount_Payable \"1,500\" is not a number",
             "Line 5: Birthday \"2010-02-30\" is not a date (YYYY-MM-DD)",
             "Line 6: Birthday \"02/01/2010\" is not a date", "Line 7: no Surname",
             "Line 8: 2 values where the first line names 5 columns",
             "Line 9: the number a1 is already on line 2",
             "Line 10: a quote is opened and never closed"});
    refused("unknown columns named", "Number,Surname,Shoe_Size,Hobby\nA1,Ade,40,\n",
            {": Shoe_Size, Hobby."});
    refused("no surname column", "Number,Other_Names\nA1,Ade\n", {"Number and Surname"});
    refused("a column twice", "Number,Surname,NUMBER\nA1,Ade,A1\n", {"Number (named twice)"});
    refused("not UTF-8", "Number,Surname\nA1,Ad\xe9\n", {"not UTF-8"});
}

void TestImport::throughTheForm()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, summary);
    QFETCH(QString, said);
    QFETCH(QString, stored);
    TestProgram p;
    p.prepareState();
    QSqlQuery sql(p.state->db());
    QVERIFY(sql.exec(u"INSERT INTO Student (Number, Surname) VALUES ('S1', 'Adeyemi')"_s));
    QVERIFY(
        sql.exec(u"CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Student "
                 "WHEN NEW.Number = 'A3' BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"_s));
    p.writeFile(u"in.csv"_s, content);

    ImportStudents form(*p.state);
    form.chooseFile = [&](QWidget *, const QString &) { return p.file(u"in.csv"_s); };
    QVERIFY(showActive(&form));
    QTest::mouseClick(widget<QPushButton>(&form, "cmdBrowse"), Qt::LeftButton);
    const QString shown = widget<QPlainTextEdit>(&form, "txtSummary")->toPlainText();
    for (const QString &part : summary)
        QVERIFY2(shown.contains(part), qPrintable(part + u"\n--- not in ---\n"_s + shown));
    grabPng(&form);
    QCOMPARE(widget<QPushButton>(&form, "cmdImport")->isEnabled(), !said.isEmpty());
    QTest::mouseClick(widget<QPushButton>(&form, "cmdImport"), Qt::LeftButton);
    const QString message = p.messages.texts().join(u'|');
    QVERIFY2(said.isEmpty() ? message.isEmpty() : message.contains(said), qPrintable(message));
    QCOMPARE(form.result(), stored.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    QVERIFY(sql.exec(dump) && sql.next());
    QCOMPARE(sql.value(0).toString(), u"'S1'|'Adeyemi'|NULL|NULL|NULL|NULL|NULL"_s + stored);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
