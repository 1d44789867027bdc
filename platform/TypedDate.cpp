#include "platform/TypedDate.h"

QDate readTypedDate(const QString &text)
{
    const QString typed = text.trimmed();
    for (const char *format : {"d/M/yyyy", "d.M.yyyy", "yyyy-M-d"}) {
        const QDate date = QDate::fromString(typed, QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return {};
}
