#include "RecordForm.h"

#include <QPrinter>
#include <QProcess>
#include <QTabWidget>
#include <QTextDocument>

// The printed bill of the row shown, read back from the PDF it was printed to.
class TestBillPrint : public RecordFormTest
{
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { finish(); }
    void printedBill();
};

void TestBillPrint::printedBill()
{
    p->state->SchoolName = QStringLiteral("Hill Top");
    QCOMPARE(sql(QStringLiteral(
                 "INSERT INTO Student (Number, Surname, Other_Names, Class_Level, Class_Arm, "
                 "Debt_From_Last_Term, Bill_This_Term, Amount_Payable, Cummulative_Paid, Amount_Last_Paid, "
                 "Financial_Balance) VALUES ('S0', 'Other', 'Row', 'Primary1', 'Red', 0, NULL, 0, 0, 0, 0), "
                 "('S1', 'Ade', 'Bola' || char(13, 10) || 'Grace', 'Primary1', 'Blue', 200, "
                 "'Tuition = 1500' || char(13, 10) || 'Sports = 30' || char(13, 10) || 'Custom = 1250.5', "
                 "2980.5, 1200, 700, -1780.5)")),
             QString());
    const QString pdf = p->file(QStringLiteral("Reports/bill.pdf"));
    p->desktop.onPrint = [&](QTextDocument &document) {
        QPrinter out(QPrinter::HighResolution);
        out.setOutputFormat(QPrinter::PdfFormat);
        out.setOutputFileName(pdf);
        document.print(&out);
        return true;
    };
    // Read-only, as an operator without the password opens it.
    openForm(QStringLiteral("Student"), false);
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::StudentTab);
    QTest::mouseClick(w("cmdPrintBill"), Qt::LeftButton);
    QCOMPARE(p->messages.texts(), QStringList{"No Printer installed."});
    QCOMPARE(p->desktop.prints, 0);

    p->desktop.printerInstalled = true;
    QTest::mouseClick(w("cmdPrintBill"), Qt::LeftButton);
    QCOMPARE(p->desktop.prints, 1);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    QStringList got = QString::fromUtf8(text.readAllStandardOutput()).split(u'\n');
    for (QString &l : got)
        l = l.simplified();
    got.removeAll(QString());
    QCOMPARE(got, QStringList({"Hill Top", "Bill for Second Term_2026/2027", "Saturday, 14 March 2026",
                               "Number: S1", "Name: Ade Bola Grace", "Class: Primary1 Blue",
                               "Tuition 1,500.00", "Sports 30.00", "Custom 1,250.50",
                               "Debt from last Term 200.00", "Amount Payable this Term 2,980.50",
                               "Cummulative Amount Paid This Term 1,200.00", "Amount Last Paid 700.00",
                               "Financial Balance -1,780.50", "1"}));

    // A row being edited is not printed; on a granted form either.
    form.reset();
    openForm();
    QVERIFY(w("cmdPrintBill")->isEnabled());
    click(9);
    QVERIFY(!w("cmdPrintBill")->isEnabled());
    click(11);
    QVERIFY(w("cmdPrintBill")->isEnabled());
}

QTEST_MAIN(TestBillPrint)
#include "tst_billprint.moc"
