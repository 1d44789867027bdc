#include "platform/Numbers.h"
#include "platform/Paths.h"

#include <QTest>

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void readNumber_data();
    void readNumber();
    void wholeNumberText_data();
    void wholeNumberText();
    void numberText_data();
    void numberText();
    void roundHalfEven_data();
    void roundHalfEven();
    void roundToCents_data();
    void roundToCents();
    void fileNameOfPath_data();
    void fileNameOfPath();
};

void TestNumbers::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("plain") << "1500" << 1500.0;
    QTest::newRow("decimal") << "1500.5" << 1500.5;
    QTest::newRow("leading blanks") << "  42" << 42.0;
    QTest::newRow("blanks inside") << "1 2 3" << 123.0;
    QTest::newRow("tab and line feed") << "\t1\n5" << 15.0;
    QTest::newRow("trailing word") << "4 arms" << 4.0;
    QTest::newRow("negative") << "-300" << -300.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("sign then blank") << "- 5" << -5.0;
    QTest::newRow("grouping stops") << "1,500" << 1.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("exponent without digits") << "3E" << 3.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
}

void TestNumbers::readNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(Numbers::readNumber(text), value);
}

void TestNumbers::wholeNumberText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::newRow("number") << "1500" << true;
    QTest::newRow("blanks around") << " 12.5 " << true;
    QTest::newRow("negative") << "-300" << true;
    QTest::newRow("grouped") << "1,500" << false;
    QTest::newRow("trailing letters") << "12abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "   " << false;
    QTest::newRow("letters") << "abc" << false;
}

void TestNumbers::wholeNumberText()
{
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QCOMPARE(Numbers::isWholeNumberText(text), whole);
}

void TestNumbers::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1500.0 << "1500";
    QTest::newRow("half") << 1500.5 << "1500.5";
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("negative") << -250.25 << "-250.25";
    QTest::newRow("no grouping") << 1234567.0 << "1234567";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("small") << 0.001 << "0.001";
}

void TestNumbers::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Numbers::numberText(value), text);
}

void TestNumbers::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("rounded");
    QTest::newRow("2.5") << 2.5 << qint64(2);
    QTest::newRow("3.5") << 3.5 << qint64(4);
    QTest::newRow("250.5") << 250.5 << qint64(250);
    QTest::newRow("251.5") << 251.5 << qint64(252);
    QTest::newRow("-2.5") << -2.5 << qint64(-2);
    QTest::newRow("2.6") << 2.6 << qint64(3);
    QTest::newRow("542.35") << 542.35 << qint64(542);
}

void TestNumbers::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(qint64, rounded);
    QCOMPARE(Numbers::roundHalfEven(value), rounded);
}

void TestNumbers::roundToCents_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("rounded");
    QTest::newRow("12.344") << 12.344f << 12.34f;
    QTest::newRow("10.125 up") << 10.125f << 10.13f;
    QTest::newRow("-10.125 up") << -10.125f << -10.12f;
    QTest::newRow("0.005 lies below the half") << 0.005f << 0.0f;
    QTest::newRow("12.345") << 12.345f << 12.35f;
    QTest::newRow("whole") << 25.0f << 25.0f;
}

void TestNumbers::roundToCents()
{
    QFETCH(float, value);
    QFETCH(float, rounded);
    QCOMPARE(Numbers::RoundToCents(value), rounded);
}

void TestNumbers::fileNameOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("slashes") << "/home/ann/Photo.JPG" << "photo.jpg";
    QTest::newRow("backslashes") << "C:\\A\\Photo.JPG" << "photo.jpg";
    QTest::newRow("drive only") << "A:Photo.JPG" << "photo.jpg";
    QTest::newRow("bare name") << "Photo.JPG" << "";
    QTest::newRow("ends in separator") << "C:\\A\\" << "";
    QTest::newRow("mixed") << "C:\\A/b\\Ade.GIF" << "ade.gif";
}

void TestNumbers::fileNameOfPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(Paths::FileNameOfPath(path), name);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
