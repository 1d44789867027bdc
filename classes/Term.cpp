#include "classes/Term.h"

#include "platform/Numbers.h"

namespace Term {

QStringList captions()
{
    return {QStringLiteral("First Term"), QStringLiteral("Second Term"),
            QStringLiteral("Third Term"), QStringLiteral("Fourth Term")};
}

Parts split(const QString &stored)
{
    Parts parts;
    const QStringList pieces = stored.split(u'_');
    if (pieces.size() < 2)
        return parts;
    parts.isTerm = true;
    parts.term = static_cast<int>(captions().indexOf(pieces.at(0)));
    const qint64 year = Numbers::roundHalfEven(Numbers::readNumber(pieces.at(1).left(4)));
    if (year >= FirstYear && year <= LastYear)
        parts.year = static_cast<int>(year);
    return parts;
}

QString compose(const QString &term, int year)
{
    return term + u'_' + QString::number(year) + u'/' + QString::number(year + 1);
}

} // namespace Term
