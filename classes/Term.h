#pragma once

#include <QString>
#include <QStringList>

// The current term as it is stored: "<term>_<first year>/<next year>".
namespace Term {

// The years the term form can show, and where it starts.
constexpr int FirstYear = 1900;
constexpr int LastYear = 2199;
constexpr int StartYear = 2000;

// The four terms, in order.
QStringList captions();

// What a stored text gives the term form. Without "_" it is no term at all; `term` is the
// position among the four (-1: none), `year` the session's first year, or the start year
// when the form cannot show it.
struct Parts
{
    bool isTerm = false;
    int term = -1;
    int year = StartYear;
};
Parts split(const QString &stored);

// The stored text of a term and the session's first year.
QString compose(const QString &term, int year);

} // namespace Term
