#pragma once

#include <QString>

// A made-up school of realistic size and field lengths, for measuring the
// record form's cursor. Deterministic: the same counts give the same rows.
namespace SyntheticSchool {

struct Counts
{
    int students = 0;
    int staff = 0;
    int stock = 0;
    // Photo files in Pictures/FrontView, one per student: a third of the
    // students' photos present, a third missing, a third in other letters.
    bool photos = false;
};

// The Number of the i-th generated student (0-based), so a benchmark can
// look rows up without reading them first.
QString studentNumber(int index);

// Fills the database of the program folder `folder` (its Progs/Kolvane.db,
// made from the empty database when missing). Refuses a database whose record
// tables already hold rows: it is never pointed at a school's records by
// mistake.
bool fill(const QString &folder, const Counts &counts, QString *error);

} // namespace SyntheticSchool
