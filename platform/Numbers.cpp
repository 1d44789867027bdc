#include "platform/Numbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Numbers {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Scans the leading number; returns the characters it used (skipped blanks
// included) and leaves its canonical text in `out`.
qsizetype scanNumber(const QString &text, QString &out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] {
        while (i < n && isSkipped(text.at(i)))
            ++i;
    };
    out.clear();
    skip();
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        if (text.at(i) == u'-')
            out += u'-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    qsizetype used = 0;
    while (true) {
        skip();
        if (i >= n)
            break;
        const QChar c = text.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            out += c;
            digits = true;
            ++i;
            used = i;
        } else if (c == u'.' && !point) {
            out += c;
            point = true;
            ++i;
            if (digits)
                used = i;
        } else {
            break;
        }
    }
    if (!digits) {
        out.clear();
        return 0;
    }
    // Optional exponent: E or D, optional sign, digits.
    qsizetype save = i;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E' || text.at(i) == u'd'
                  || text.at(i) == u'D')) {
        ++i;
        QString exp = QStringLiteral("e");
        skip();
        if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
            exp += text.at(i);
            ++i;
        }
        bool expDigits = false;
        while (true) {
            skip();
            if (i >= n || !(text.at(i).isDigit() && text.at(i).unicode() < 128))
                break;
            exp += text.at(i);
            expDigits = true;
            ++i;
        }
        if (expDigits) {
            out += exp;
            used = i;
        } else {
            i = save;
        }
    }
    return used;
}

} // namespace

double readNumber(const QString &text)
{
    QString canonical;
    if (scanNumber(text, canonical) == 0)
        return 0.0;
    bool ok = false;
    const double v = canonical.toDouble(&ok);
    if (!ok)
        return std::isinf(v) ? v : 0.0;
    return v;
}

std::optional<double> readWhole(const QString &text)
{
    QString canonical;
    const qsizetype used = scanNumber(text, canonical);
    if (used == 0)
        return std::nullopt;
    for (qsizetype i = used; i < text.size(); ++i)
        if (!isSkipped(text.at(i)))
            return std::nullopt;
    bool ok = false;
    const double value = canonical.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isWholeNumberText(const QString &text)
{
    return readWhole(text).has_value();
}

QString numberText(double value, int digits)
{
    if (std::isnan(value))
        return QStringLiteral("0");
    if (value == 0.0)
        return QStringLiteral("0");
    QString t = QString::number(value, 'g', digits);
    const qsizetype e = t.indexOf(u'e');
    if (e < 0)
        return t;
    // Very large or small values keep the exponent, written as 1E+15.
    QString mantissa = t.left(e);
    QString exponent = t.mid(e + 1);
    const QChar sign = exponent.at(0);
    exponent = exponent.mid(1);
    while (exponent.size() > 2 && exponent.startsWith(u'0'))
        exponent.remove(0, 1);
    return mantissa + u'E' + sign + exponent;
}

QString numberText(double value)
{
    return numberText(value, 15);
}

qint64 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value); // the default mode: to nearest, ties to even
    if (r >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (r <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(r);
}

qint16 toInt16(double value)
{
    const qint64 r = roundHalfEven(value);
    return static_cast<qint16>(std::clamp<qint64>(r, -32768, 32767));
}

qint32 toInt32(double value)
{
    const qint64 r = roundHalfEven(value);
    return static_cast<qint32>(std::clamp<qint64>(r, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

float RoundToCents(float value)
{
    const double rounded = std::floor(static_cast<double>(value) * 100.0 + 0.5) / 100.0;
    QString t = numberText(rounded);
    const qsizetype point = t.indexOf(u'.');
    if (point >= 0 && !t.contains(u'E'))
        t.truncate(point + 3);
    return t.toFloat();
}

QString moneyText(double value)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    // A remainder below half a cent would otherwise print as "-0.00".
    if (std::abs(value) < 0.005)
        value = 0;
    return locale.toString(value, 'f', 2);
}

} // namespace Numbers
