#include "classes/ClassStructure.h"
#include "platform/TypedDate.h"
#include "records/BoxRules.h"
#include "records/PickLists.h"
#include "records/StudentMoney.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

static QString items(const QComboBox &box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list.append(box.itemText(i));
    return list.join(u'|');
}

// The rules of the record form's boxes and lists, without the form.
class TestRecordLogic : public QObject
{
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
};

// Every rule as one table: the rule, what goes in, what comes out.
void TestRecordLogic::rule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    using Rows = std::initializer_list<std::pair<const char *, const char *>>;
    const auto row = [](const char *rule, const QByteArray &in, const char *out) {
        QTest::addRow("%s: %s", rule, in.constData())
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
    // not blank (spaces count as blank), the debt any number, amounts a number not below zero
    // (what reads as a number: the number rules); a box without a rule takes anything.
    for (const char *box :
         {"txtSurname", "txtNumber", "txtAddress", "txtStockNumber", "txtMaterial"})
        row("box", box + QByteArray("| "), "no");
    for (const char *box : {"txtCummulativePaid", "txtLastPurchasePrice", "txtVolAtHand",
                            "txtMinimumVolToStock", "txtLastPurchaseVolume"}) {
        row("box", box + QByteArray("|0"), "yes");
        row("box", box + QByteArray("|-1"), "no");
        row("box", box + QByteArray("|x"), "no");
    }
    for (const auto &[in, out] : Rows{{"txtSurname|Okafor", "yes"},
                                      {"txtDebt|-300", "yes"},
                                      {"txtDebt|abc", "no"},
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
    // A pick list by its box's name, exactly (count|first items): only the
    // levels with arms; the arm box is no pick list.
    for (const auto &[in, out] : Rows{{"cmbSex", "2|Male|Female"},
                                      {"cmbMaritalStatus", "5|Single|Married"},
                                      {"cmbServiceStatus", "7|Working|Leave"},
                                      {"cmbState", "37|Abia|Abuja|Adamawa"},
                                      {"cmbClassLevel", "2|Primary1|Primary2"},
                                      {"cmbClassArm", "0|"},
                                      {"cmbsex", "0|"}})
        row("list", in, out);
    // The arm list holding Blue, Red, blue given a level (level|arm showing|
    // Primary1's arm count -> arms|arm shown): letter case aside, nothing
    // trimmed; the arm shown stays only where the new list has it exactly; a
    // text naming no level leaves the list; a count lowered by hand keeps the
    // arm keys in the file, and only counted arms are offered.
    for (const auto &[in, out] : Rows{{"Primary2|Red|2", "Blue|Green|"},
                                      {"PRIMARY2|Blue|2", "Blue|Green|Blue"},
                                      {"Primary2|blue|2", "Blue|Green|"},
                                      {"Primary2 |Red|2", "Blue|Red|blue|Red"},
                                      {"Secondary8|Blue|2", "|"},
                                      {"primary1|Red|1", "Blue|"},
                                      {"primary1|Red|5", "Blue|Red|Red"}})
        row("arms", in, out);
}

void TestRecordLogic::rule()
{
    QFETCH(QString, rule);
    QFETCH(QString, in);
    QFETCH(QString, out);
    const QStringList part = in.split(u'|');
    // Primary1: Blue, Red (the arms counted as the arms rows say); Primary2: Blue, Green.
    ClassStructure classes;
    FillClassLevelNames(classes);
    const int p1 = classes.levelIndex(u"Primary1"_s);
    const int p2 = classes.levelIndex(u"Primary2"_s);
    classes.NumberOfArms[p1] = rule == QLatin1String("arms") ? part.at(2).toInt() : 2;
    classes.ClassArms[p1] = {u"Blue"_s, u"Red"_s};
    classes.NumberOfArms[p2] = 2;
    classes.ClassArms[p2] = {u"Blue"_s, u"Green"_s};
    classes.LevelsWithArms = {u"Primary1"_s, u"Primary2"_s};
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
    } else if (rule == QLatin1String("date")) {
        QCOMPARE(readTypedDate(in).toString(Qt::ISODate), out);
    } else if (rule == QLatin1String("list")) {
        // Each fill appends and ends on the first item, whatever was chosen.
        QComboBox list;
        list.setObjectName(in);
        FillPickList(&list, classes);
        const QString once = items(list);
        QVERIFY2((QString::number(list.count()) + u'|' + once).startsWith(out), qPrintable(once));
        list.setCurrentIndex(list.count() - 1);
        FillPickList(&list, classes);
        QCOMPARE(items(list), list.count() ? once + u'|' + once : QString());
        QCOMPARE(list.currentIndex(), list.count() ? 0 : -1);
    } else {
        QComboBox arms;
        arms.addItems({u"Blue"_s, u"Red"_s, u"blue"_s});
        arms.setCurrentIndex(arms.findText(part.at(1), Qt::MatchExactly | Qt::MatchCaseSensitive));
        QSignalSpy changed(&arms, &QComboBox::currentIndexChanged);
        for (int i = 0; i < 2; ++i) { // twice is stable
            FillClassArms(part.at(0), &arms, classes);
            QCOMPARE(items(arms) + u'|' + arms.currentText(), out);
        }
        if (out.startsWith(u"Blue|Red|blue|"_s))
            QCOMPARE(changed.count(), 0);
    }
}

QTEST_MAIN(TestRecordLogic)
#include "tst_recordlogic.moc"
