#include "platform/Numbers.h"
#include "platform/Paths.h"

#include <QTest>

// Every text rule as one table: the rule, what goes in, what comes out.
class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
};

void TestNumbers::rule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    // Each row "in|out". read: as far as it reads as a number, blanks dropped anywhere.
    // whole: the whole text, blanks around it aside, is a number. text: the shortest
    // text, no grouping, no exponent below fifteen digits. cents: in single precision,
    // as the money fields hold it. money: "#,##0.00", what rounds to nothing without a
    // sign. file name: the name after the last separator, in small letters.
    const QList<std::pair<const char *, QStringList>> rules = {
        {"read",
         {"|0", "abc|0", "1500|1500", "1500.5|1500.5", "  42|42", "1 2 3|123", "\t1\n5|15",
          "4 arms|4", "-300|-300", "+7|7", "- 5|-5", "1,500|1", "1.2.3|1.2", ".5|0.5", "1.5E3|1500",
          "25e-1|2.5", "3E|3", "-|0", ".|0"}},
        {"whole",
         {"1500|yes", " 12.5 |yes", "-300|yes", "1,500|no", "12abc|no", "|no", "   |no", "abc|no"}},
        {"text",
         {"1500|1500", "1500.5|1500.5", "0.30000000000000004|0.3", "0|0", "-0|0", "-250.25|-250.25",
          "1234567|1234567", "123456789012345|123456789012345", "0.001|0.001"}},
        {"half even",
         {"2.5|2", "3.5|4", "250.5|250", "251.5|252", "-2.5|-2", "2.6|3", "542.35|542"}},
        {"cents",
         {"12.344|12.34", "10.125|10.13", "-10.125|-10.12", "0.005|0", "12.345|12.35", "25|25"}},
        {"money", {"-1780.5|-1,780.50", "1234567.891|1,234,567.89", "-0.004|0.00", "0.005|0.01"}},
        {"file name",
         {"/home/ann/Photo.JPG|photo.jpg", "C:\\A\\Photo.JPG|photo.jpg", "A:Photo.JPG|photo.jpg",
          "Photo.JPG|", "C:\\A\\|", "C:\\A/b\\Ade.GIF|ade.gif"}}};
    for (const auto &[rule, rows] : rules)
        for (const QString &row : rows)
            QTest::addRow("%s: [%s]", rule, qPrintable(row.section(u'|', 0, 0)))
                << QString::fromLatin1(rule) << row.section(u'|', 0, 0) << row.section(u'|', 1);
}

void TestNumbers::rule()
{
    QFETCH(QString, rule);
    QFETCH(QString, in);
    QFETCH(QString, out);
    if (rule == QLatin1String("read"))
        QCOMPARE(Numbers::readNumber(in), out.toDouble());
    else if (rule == QLatin1String("whole"))
        QCOMPARE(Numbers::isWholeNumberText(in), out == QLatin1String("yes"));
    else if (rule == QLatin1String("text"))
        QCOMPARE(Numbers::numberText(in.toDouble()), out);
    else if (rule == QLatin1String("half even"))
        QCOMPARE(Numbers::roundHalfEven(in.toDouble()), out.toLongLong());
    else if (rule == QLatin1String("money"))
        QCOMPARE(Numbers::moneyText(in.toDouble()), out);
    else if (rule == QLatin1String("cents"))
        QCOMPARE(Numbers::RoundToCents(in.toFloat()), out.toFloat());
    else
        QCOMPARE(Paths::FileNameOfPath(in), out);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
