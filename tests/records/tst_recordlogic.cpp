#include "classes/ClassStructure.h"
#include "platform/TypedDate.h"
#include "records/BoxRules.h"
#include "records/PickLists.h"
#include "records/StudentMoney.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Primary1: Blue, Red; Primary2: Blue, Green.
ClassStructure twoPrimaries()
{
    ClassStructure c;
    FillClassLevelNames(c);
    const int p1 = c.levelIndex(u"Primary1"_s);
    const int p2 = c.levelIndex(u"Primary2"_s);
    c.NumberOfArms[p1] = 2;
    c.ClassArms[p1] = {u"Blue"_s, u"Red"_s};
    c.NumberOfArms[p2] = 2;
    c.ClassArms[p2] = {u"Blue"_s, u"Green"_s};
    c.LevelsWithArms = {u"Primary1"_s, u"Primary2"_s};
    return c;
}

QString items(const QComboBox &box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list.append(box.itemText(i));
    return list.join(u'|');
}

} // namespace

// The rules of the record form's boxes and lists, without the form.
class TestRecordLogic : public QObject
{
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void fillByBoxName_data();
    void fillByBoxName();
    void armsByLevel_data();
    void armsByLevel();
};

// Every text rule as one table: the rule, what goes in, what comes out.
void TestRecordLogic::rule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    using Rows = std::initializer_list<std::pair<const char *, const char *>>;
    const auto row = [](const char *rule, const char *in, const char *out) {
        QTest::addRow("%s: %s", rule, in)
            << QString::fromLatin1(rule) << QString::fromLatin1(in) << QString::fromLatin1(out);
    };
    // The payable moves by what the debt changed since its box was entered
    // (remembered|debt left|payable|paid -> payable|balance), without float noise.
    for (const auto &[in, out] : Rows{{"100.5|100.5|1700|500", "1700|-1200"},
                                      {"200|-300|1700|500", "1200|-700"},
                                      {"100.5|101|1700|500", "1700.5|-1200.5"},
                                      {"|300||", "300|-300"},
                                      {"0|0|30|1 000", "30|970"},
                                      {"0.1|0.3|0.1|0", "0.3|-0.3"}})
        row("money", in, out);
    // Which box takes which text before the caret may leave it: required boxes
    // not blank, the debt any number, amounts a number not below zero, grouped
    // text (it would read as 1) never; a box without a rule takes anything.
    for (const auto &[in, out] : Rows{{"txtSurname|", "no"},
                                      {"txtSurname|   ", "no"},
                                      {"txtSurname|Okafor", "yes"},
                                      {"txtNumber|", "no"},
                                      {"txtAddress| ", "no"},
                                      {"txtStockNumber|", "no"},
                                      {"txtMaterial| ", "no"},
                                      {"txtDebt|-300", "yes"},
                                      {"txtDebt|abc", "no"},
                                      {"txtCummulativePaid|0", "yes"},
                                      {"txtCummulativePaid|-5", "no"},
                                      {"txtCummulativePaid|1,500", "no"},
                                      {"txtLastPurchasePrice|-1", "no"},
                                      {"txtVolAtHand|-2", "no"},
                                      {"txtMinimumVolToStock|x", "no"},
                                      {"txtLastPurchaseVolume|-4", "no"},
                                      {"txtAmountLastPaid|cheque", "yes"}})
        row("box", in, out);
    // The percentage while it is typed: letters and a second point dropped, a
    // point and zeros at the end kept, nothing shows as 0.
    for (const auto &[in, out] : Rows{{"7a", "7"},
                                      {"7.", "7."},
                                      {"7.0", "7.0"},
                                      {"7.50", "7.50"},
                                      {"", "0"},
                                      {"7.5.", "7.5"}})
        row("percentage", in, out);
    // A date as typed: day before month, always; no such day is no date.
    for (const auto &[in, out] : Rows{{"14/03/2015", "2015-03-14"},
                                      {"4/3/2015", "2015-03-04"},
                                      {"4.3.2015", "2015-03-04"},
                                      {"2015-03-14", "2015-03-14"},
                                      {"31/02/2015", ""}})
        row("date", in, out);
}

void TestRecordLogic::rule()
{
    QFETCH(QString, rule);
    QFETCH(QString, in);
    QFETCH(QString, out);
    const QStringList part = in.split(u'|');
    if (rule == QLatin1String("money")) {
        StudentMoney money;
        money.rememberDebt(u"999"_s); // only the last remembered counts
        money.rememberDebt(part.at(0));
        const QString payable = money.payableAfterDebt(part.at(1), part.at(2));
        QCOMPARE(payable + u'|' + StudentMoney::balance(part.at(3), payable), out);
    } else if (rule == QLatin1String("box")) {
        QVERIFY(BoxRules::checkedBoxes().contains(part.at(0)) || out == QLatin1String("yes"));
        QCOMPARE(BoxRules::accepts(part.at(0), part.at(1)), out == QLatin1String("yes"));
    } else if (rule == QLatin1String("percentage")) {
        QCOMPARE(BoxRules::percentageText(in), out);
    } else {
        QCOMPARE(readTypedDate(in).toString(Qt::ISODate), out);
    }
}

void TestRecordLogic::fillByBoxName_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("first"); // the first items
    QTest::addColumn<int>("count");
    QTest::newRow("sex") << "cmbSex"
                         << "Male|Female" << 2;
    QTest::newRow("marital") << "cmbMaritalStatus"
                             << "Single|Married" << 5;
    QTest::newRow("service") << "cmbServiceStatus"
                             << "Working|Leave" << 7;
    QTest::newRow("state") << "cmbState"
                           << "Abia|Abuja|Adamawa" << 37;
    QTest::newRow("marital") << "cmbMaritalStatus"
                             << "Single|Married" << 5;
    QTest::newRow("service") << "cmbServiceStatus"
                             << "Working|Leave" << 7;
    // Only the levels with arms, not every level name.
    QTest::newRow("class level") << "cmbClassLevel"
                                 << "Primary1|Primary2" << 2;
    QTest::newRow("arm box is no pick list") << "cmbClassArm"
                                             << "" << 0;
    QTest::newRow("names matched exactly") << "cmbsex"
                                           << "" << 0;
}

// Each call appends and ends on the first item, whatever was chosen before.
void TestRecordLogic::fillByBoxName()
{
    QFETCH(QString, box);
    QFETCH(QString, first);
    QFETCH(int, count);
    QComboBox combo;
    combo.setObjectName(box);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo).left(first.size()), first);
    QCOMPARE(combo.count(), count);
    const QString once = items(combo);
    combo.setCurrentIndex(count - 1);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo), count ? once + u'|' + once : QString());
    QCOMPARE(combo.currentIndex(), count ? 0 : -1);
}

// The arm box holds Blue, Red, blue with `showing` chosen before the level is
// given; the arm shown stays only where the new list has it exactly.
void TestRecordLogic::armsByLevel_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<int>("count"); // Primary1's count; -1: as read
    QTest::addColumn<QString>("showing");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("shown");
    const QString untouched = u"Blue|Red|blue"_s;
    QTest::newRow("exact, Red is gone") << "Primary2" << -1 << "Red"
                                        << "Blue|Green"
                                        << "";
    QTest::newRow("capitals, Blue stays") << "PRIMARY2" << -1 << "Blue"
                                          << "Blue|Green"
                                          << "Blue";
    QTest::newRow("case of the arm differs") << "Primary2" << -1 << "blue"
                                             << "Blue|Green"
                                             << "";
    QTest::newRow("blank is not trimmed") << "Primary2 " << -1 << "Red" << untouched << "Red";
    QTest::newRow("typing error") << "Primery2" << -1 << "blue" << untouched << "blue";
    QTest::newRow("level not in use") << "Secondary8" << -1 << "Blue"
                                      << ""
                                      << "";
    // A count lowered by hand keeps the arm keys in the file; only counted arms are offered.
    QTest::newRow("count lowered") << "primary1" << 1 << "Red"
                                   << "Blue"
                                   << "";
    QTest::newRow("count above arms read") << "primary1" << 5 << "Red"
                                           << "Blue|Red"
                                           << "Red";
}

void TestRecordLogic::armsByLevel()
{
    QFETCH(QString, level);
    QFETCH(int, count);
    QFETCH(QString, showing);
    QFETCH(QString, expected);
    QFETCH(QString, shown);
    ClassStructure classes = twoPrimaries();
    if (count >= 0)
        classes.NumberOfArms[classes.levelIndex(u"Primary1"_s)] = count;
    QComboBox arms;
    arms.addItems({u"Blue"_s, u"Red"_s, u"blue"_s});
    arms.setCurrentIndex(arms.findText(showing, Qt::MatchExactly | Qt::MatchCaseSensitive));
    QSignalSpy changed(&arms, &QComboBox::currentIndexChanged);
    for (int i = 0; i < 2; ++i) { // twice is stable
        FillClassArms(level, &arms, classes);
        QCOMPARE(items(arms), expected);
        QCOMPARE(arms.currentText(), shown);
    }
    if (expected == QLatin1String("Blue|Red|blue"))
        QCOMPARE(changed.count(), 0);
}

QTEST_MAIN(TestRecordLogic)
#include "tst_recordlogic.moc"
