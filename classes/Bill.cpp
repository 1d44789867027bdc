#include "classes/Bill.h"

#include <algorithm>

#include "platform/Numbers.h"

namespace Bill {

namespace {
const QString lineEnd = QStringLiteral("\r\n");
}

qint32 wholeAmount(double scheduleValue) { return Numbers::toInt32(scheduleValue); }

Composed compose(const QStringList &names, const QList<qint32> &amounts,
                 const QList<bool> &ticked, const QString &customText) {
    Composed bill;
    const qsizetype count = std::min({names.size(), amounts.size(), ticked.size()});
    for (qsizetype i = 0; i < count; ++i) {
        if (!ticked.at(i))
            continue;
        bill.total += amounts.at(i);
        bill.text += names.at(i) + QStringLiteral(" = ") + QString::number(amounts.at(i)) + lineEnd;
    }
    if (Numbers::isWholeNumberText(customText)) {
        const float custom = Numbers::RoundToCents(static_cast<float>(Numbers::readNumber(customText)));
        bill.total = Numbers::toInt32(static_cast<double>(bill.total) + static_cast<double>(custom));
        bill.text += QStringLiteral("Custom = ") + Numbers::numberText(static_cast<double>(custom), 7);
    }
    return bill;
}

bool customAccepted(const QString &customText) {
    if (customText.trimmed().isEmpty())
        return true;
    return Numbers::isWholeNumberText(customText) && Numbers::readNumber(customText) >= 0;
}

QList<bool> ticksFrom(const QString &billText, const QStringList &names) {
    const QStringList lines = billText.split(lineEnd);
    QList<bool> ticks;
    ticks.reserve(names.size());
    for (const QString &name : names) {
        bool found = false;
        for (const QString &line : lines) {
            if (line.contains(name, Qt::CaseSensitive)) {
                found = true;
                break;
            }
        }
        ticks.append(found);
    }
    return ticks;
}

QString customFrom(const QString &billText) {
    const QString last = billText.split(lineEnd).constLast();
    const qsizetype eq = last.indexOf(QLatin1Char('='));
    if (!last.startsWith(QStringLiteral("Custom")) || eq < 0)
        return {};
    return last.mid(eq + 1).trimmed();
}

QString payableText(qint32 total, const QString &debtText) {
    return Numbers::numberText(static_cast<double>(total) + Numbers::readNumber(debtText));
}

} // namespace Bill
