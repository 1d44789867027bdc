#include "reports/QueryRows.h"

namespace QueryRows {

const std::array<Row, Count> &all()
{
    using G = Group;
    using K = ValueKind;
    static const std::array<Row, Count> rows = {{
        {"Number", G::People, nullptr, K::Text, "=", "like"},
        {"Surname", G::People, nullptr, K::Text, "=", "like"},
        {"Other_Names", G::People, nullptr, K::Text, "like", "="},
        {"Address", G::People, nullptr, K::Text, "like", "="},
        {"Sex", G::People, "cmbSex", K::Text, "=", nullptr},
        {"State_Of_Origin", G::People, "cmbState", K::Text, "=", nullptr},
        {"Birthday", G::People, "dtpBirthday", K::Date, "<=", ">="},
        {"Date_Enlisted", G::People, "dtpEnlisted", K::Date, "<=", ">="},
        {"Date_Last_Updated", G::People, "dtpLastUpdated", K::Date, "<=", ">="},
        {"Class_Level", G::Student, "cmbClassLevel", K::Text, "=", nullptr},
        {"Class_Arm", G::Student, "cmbClassArm", K::Text, "=", nullptr},
        {"Percentage_Last_Term", G::Student, nullptr, K::Number, ">=", "<="},
        {"Debt_From_Last_Term", G::Student, nullptr, K::Number, ">=", "<="},
        {"Amount_Payable", G::Student, nullptr, K::Number, ">=", "<="},
        {"Amount_Last_Paid", G::Student, nullptr, K::Number, "<", ">"},
        {"Cummulative_Paid", G::Student, nullptr, K::Number, "<", ">"},
        {"Financial_Balance", G::Student, nullptr, K::Number, "<", ">"},
        {"Date_Last_Updated", G::Stock, "dtpStockDateLastUpdated", K::Date, "<=", ">="},
        {"Estimated_Purchase_Date", G::Stock, "dtpEstimatedPurchaseDate", K::Date, "<=", ">="},
        {"Expiry_Date", G::Stock, "dtpExpiry", K::Date, "<=", ">="},
        {"Last_Purchase_Date", G::Stock, "dtpLastPurchaseDate", K::Date, "<=", ">="},
        {"Volume_At_Hand", G::Stock, nullptr, K::Number, "<=", ">="},
        // The stock table keeps the price and the item's number under these names.
        {"Last_Purchase_Price", G::Stock, nullptr, K::Number, "<=", ">="},
        {"Alternate_Supplier_Name", G::Stock, nullptr, K::Text, "=", "like"},
        {"Supplier_Address", G::Stock, nullptr, K::Text, "=", "like"},
        {"Supplier_Name", G::Stock, nullptr, K::Text, "=", "like"},
        {"Material", G::Stock, nullptr, K::Text, "=", "like"},
        {"Number", G::Stock, nullptr, K::Text, "=", "like"},
        {"Service_Status", G::Staff, "cmbServiceStatus", K::Text, "=", nullptr},
        {"Marital_Status", G::Staff, "cmbMaritalStatus", K::Text, "=", nullptr},
        {"Monthly_Salary", G::Staff, nullptr, K::Number, "<=", ">="},
        {"Speciality", G::Staff, nullptr, K::Text, "=", "like"},
        {"Qualification", G::Staff, nullptr, K::Text, "=", "like"},
    }};
    return rows;
}

bool offered(Group group, const QString &kind)
{
    if (kind.endsWith(QLatin1String("Stock")))
        return group == Group::Stock;
    switch (group) {
    case Group::People:
        return true;
    case Group::Student:
        return kind.endsWith(QLatin1String("Student"));
    case Group::Staff:
        return !kind.endsWith(QLatin1String("Student"));
    case Group::Stock:
        return false;
    }
    return false;
}

QString switched(int i, const QString &caption)
{
    const Row &r = row(i);
    if (!r.other)
        return caption;
    // Whatever the caption was, it ends up as one of the pair.
    return caption == QLatin1String(r.initial) ? QString::fromLatin1(r.other)
                                               : QString::fromLatin1(r.initial);
}

} // namespace QueryRows
