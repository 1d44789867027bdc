// kolvane_makeschool [--photos] FOLDER STUDENTS [STAFF] [STOCK]
// Fills a program folder's database with a synthetic school.
#include "SyntheticSchool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    SyntheticSchool::Counts counts;
    counts.photos = args.removeAll(QStringLiteral("--photos")) > 0;
    auto count = [&args](int at, int fallback, bool *ok) {
        if (args.size() <= at)
            return fallback;
        const int value = args.at(at).toInt(ok);
        *ok = *ok && value >= 0;
        return value;
    };
    bool ok = args.size() >= 3;
    if (ok)
        counts.students = count(2, 0, &ok);
    if (ok)
        counts.staff = count(3, qMax(1, counts.students / 25), &ok);
    if (ok)
        counts.stock = count(4, 200, &ok);
    if (!ok) {
        std::fprintf(stderr, "usage: kolvane_makeschool [--photos] FOLDER STUDENTS [STAFF] [STOCK]\n");
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!SyntheticSchool::fill(args.at(1), counts, &error)) {
        std::fprintf(stderr, "kolvane_makeschool: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d students, %d staff, %d stock items in %.1f s\n", counts.students, counts.staff,
                counts.stock, double(timer.elapsed()) / 1000.0);
    return 0;
}
