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
    const auto row = [](const char *rule, const char *name, const QString &in, const char *out) {
        QTest::addRow("%s: %s", rule, name) << QString::fromLatin1(rule) << in << QString::fromUtf8(out);
    };
    // readNumber: as far as it reads as a number, blanks dropped anywhere.
    for (const auto &[name, in, out] : std::initializer_list<std::tuple<const char *, const char *, const char *>>{
             {"empty", "", "0"}, {"letters", "abc", "0"}, {"plain", "1500", "1500"},
             {"decimal", "1500.5", "1500.5"}, {"leading blanks", "  42", "42"}, {"blanks inside", "1 2 3", "123"},
             {"tab and line feed", "\t1\n5", "15"}, {"trailing word", "4 arms", "4"}, {"negative", "-300", "-300"},
             {"plus", "+7", "7"}, {"sign then blank", "- 5", "-5"}, {"grouping stops", "1,500", "1"},
             {"second point stops", "1.2.3", "1.2"}, {"leading point", ".5", "0.5"}, {"exponent", "1.5E3", "1500"},
             {"negative exponent", "25e-1", "2.5"}, {"exponent without digits", "3E", "3"}, {"sign only", "-", "0"},
             {"point only", ".", "0"}})
        row("read", name, QString::fromLatin1(in), out);
    // isWholeNumberText: the whole text, blanks around it aside, is a number.
    for (const auto &[in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"1500", "yes"}, {" 12.5 ", "yes"}, {"-300", "yes"}, {"1,500", "no"}, {"12abc", "no"}, {"", "no"},
             {"   ", "no"}, {"abc", "no"}})
        row("whole", in, QString::fromLatin1(in), out);
    // numberText: the shortest text, no grouping, no exponent below fifteen digits.
    for (const auto &[in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"1500", "1500"}, {"1500.5", "1500.5"}, {"0.30000000000000004", "0.3"}, {"0", "0"}, {"-0", "0"},
             {"-250.25", "-250.25"}, {"1234567", "1234567"}, {"123456789012345", "123456789012345"},
             {"0.001", "0.001"}})
        row("text", in, QString::fromLatin1(in), out);
    for (const auto &[in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"2.5", "2"}, {"3.5", "4"}, {"250.5", "250"}, {"251.5", "252"}, {"-2.5", "-2"}, {"2.6", "3"},
             {"542.35", "542"}})
        row("half even", in, QString::fromLatin1(in), out);
    // RoundToCents: in single precision, as the money fields hold it.
    for (const auto &[in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"12.344", "12.34"}, {"10.125", "10.13"}, {"-10.125", "-10.12"}, {"0.005", "0"}, {"12.345", "12.35"},
             {"25", "25"}})
        row("cents", in, QString::fromLatin1(in), out);
    // moneyText: "#,##0.00"; what rounds to nothing has no sign.
    for (const auto &[in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"-1780.5", "-1,780.50"}, {"1234567.891", "1,234,567.89"}, {"-0.004", "0.00"}, {"0.005", "0.01"}})
        row("money", in, QString::fromLatin1(in), out);
    // FileNameOfPath: the name after the last separator, in small letters.
    for (const auto &[in, out] : std::initializer_list<std::pair<const char *, const char *>>{
             {"/home/ann/Photo.JPG", "photo.jpg"}, {"C:\\A\\Photo.JPG", "photo.jpg"}, {"A:Photo.JPG", "photo.jpg"},
             {"Photo.JPG", ""}, {"C:\\A\\", ""}, {"C:\\A/b\\Ade.GIF", "ade.gif"}})
        row("file name", in, QString::fromLatin1(in), out);
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
