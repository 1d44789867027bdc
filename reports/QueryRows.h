#pragma once

#include <QString>
#include <array>

// The query form's criteria rows: one queryable field each, walked in this
// order to build the check box, value control and operator button of a row,
// and again to build the statement.
namespace QueryRows {

enum class Group { People, Student, Stock, Staff };
enum class ValueKind { Text, Number, Date };

struct Row
{
    const char *field; // the column, and the caption of the row's check box
    Group group;
    const char *source; // the pick list or date picker holding the value; null: the row's own box
    ValueKind kind;
    const char *initial; // operator shown when the form opens
    const char *other;   // null: the operator never changes
};

inline constexpr int Count = 33;
const std::array<Row, Count> &all();
inline const Row &row(int i)
{
    return all().at(static_cast<std::size_t>(i));
}

// Whether the rows of `group` are offered for the record kind `kind`.
bool offered(Group group, const QString &kind);

// The caption an operator button takes when clicked: the other of its pair.
QString switched(int i, const QString &caption);

} // namespace QueryRows
