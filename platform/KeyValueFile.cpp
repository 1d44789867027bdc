#include "platform/KeyValueFile.h"

#include "platform/DurableFiles.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Backslash pairs the reader turns into one character.
bool isEscapeLetter(QChar c)
{
    return c == u'\\' || c == u'n' || c == u'r' || c == u's' || c == u't' || c == u'='
           || c == u'#';
}

QString encode(const QString &text, bool isKey)
{
    qsizetype lead = 0;
    while (lead < text.size() && isBlank(text.at(lead)))
        ++lead;
    qsizetype trail = text.size();
    while (trail > lead && isBlank(text.at(trail - 1)))
        --trail;
    // Each character's own spelling first; a backslash is doubled afterwards
    // when what follows it would otherwise read as an escape.
    QStringList pieces;
    pieces.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool edge = i < lead || i >= trail;
        if (c == u'\n')
            pieces.append(QStringLiteral("\\n"));
        else if (c == u'\r')
            pieces.append(QStringLiteral("\\r"));
        else if (edge && c == u' ')
            pieces.append(QStringLiteral("\\s"));
        else if (edge && c == u'\t')
            pieces.append(QStringLiteral("\\t"));
        else if (isKey && c == u'=')
            pieces.append(QStringLiteral("\\="));
        else if (isKey && i == 0 && c == u'#')
            pieces.append(QStringLiteral("\\#"));
        else
            pieces.append(QString(c));
    }
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (pieces.at(i) == QStringLiteral("\\")) {
            const bool last = i + 1 == pieces.size();
            const bool ambiguous = last || pieces.at(i + 1).startsWith(u'\\')
                                   || isEscapeLetter(pieces.at(i + 1).at(0));
            out += ambiguous ? QStringLiteral("\\\\") : QStringLiteral("\\");
        } else {
            out += pieces.at(i);
        }
    }
    return out;
}

struct Line
{
    QString raw;
    QString key; // decoded; empty for comments and blank lines
    bool isEntry = false;
};

// Splits a line at its first "=" that is not escaped.
bool splitEntry(const QString &raw, QString &key, QString &value)
{
    const QString trimmed = raw.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
        return false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == u'\\') {
            ++i;
            continue;
        }
        if (raw.at(i) == u'=') {
            key = KeyValueFile::decode(raw.left(i).trimmed());
            value = KeyValueFile::decode(raw.mid(i + 1).trimmed());
            return true;
        }
    }
    return false;
}

QList<Line> readLines(const QString &path, bool *readable)
{
    QList<Line> lines;
    QFile f(path);
    *readable = f.open(QIODevice::ReadOnly);
    if (!*readable)
        return lines;
    const QString all = QString::fromUtf8(f.readAll());
    QStringList raws = all.split(u'\n');
    if (!raws.isEmpty() && raws.last().isEmpty())
        raws.removeLast();
    lines.reserve(raws.size());
    for (QString raw : raws) {
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        Line line;
        line.raw = raw;
        QString value;
        line.isEntry = splitEntry(raw, line.key, value);
        lines.append(line);
    }
    return lines;
}

} // namespace

KeyValueFile::KeyValueFile(QString path, Access access) : m_path(std::move(path)), m_access(access)
{
}

QString KeyValueFile::encodeKey(const QString &key)
{
    return encode(key, true);
}

QString KeyValueFile::encodeValue(const QString &value)
{
    return encode(value, false);
}

QString KeyValueFile::decode(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar n = text.at(i + 1);
        switch (n.unicode()) {
        case u'\\': out += u'\\'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u's': out += u' '; break;
        case u't': out += u'\t'; break;
        case u'=': out += u'='; break;
        case u'#': out += u'#'; break;
        default:
            // Not an escape: a hand-written path such as Software\VELMORAN.
            out += c;
            out += n;
            break;
        }
        ++i;
    }
    return out;
}

QString KeyValueFile::read(const QString &key, bool *found) const
{
    if (found)
        *found = false;
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QString all = QString::fromUtf8(f.readAll());
    QString result;
    for (QStringView raw : QStringView(all).split(u'\n')) {
        QString k;
        QString v;
        if (splitEntry(raw.toString(), k, v) && k == key) {
            // The last line of a key counts, as a hand edit appended below would.
            result = v;
            if (found)
                *found = true;
        }
    }
    return result;
}

QHash<QString, QString> KeyValueFile::readAll() const
{
    QHash<QString, QString> values;
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return values;
    const QString all = QString::fromUtf8(f.readAll());
    for (QStringView raw : QStringView(all).split(u'\n')) {
        QString k;
        QString v;
        if (splitEntry(raw.toString(), k, v))
            values.insert(k, v);
    }
    return values;
}

bool KeyValueFile::write(const QString &key, const QString &value)
{
    return write({{key, value}});
}

bool KeyValueFile::write(const QList<std::pair<QString, QString>> &pairs)
{
    m_error.clear();
    m_errorCode = 0;
    bool readable = false;
    QList<Line> lines = readLines(m_path, &readable);
    const bool existed = QFile::exists(m_path);
    if (existed && !readable) {
        m_error = QStringLiteral("cannot read %1").arg(m_path);
        m_errorCode = EACCES;
        return false;
    }

    for (const auto &[key, value] : pairs) {
        const QString entry = encodeKey(key) + u'=' + encodeValue(value);
        bool placed = false;
        for (qsizetype i = 0; i < lines.size();) {
            if (lines[i].isEntry && lines[i].key == key) {
                if (placed) {
                    lines.removeAt(i);
                    continue;
                }
                lines[i].raw = entry;
                placed = true;
            }
            ++i;
        }
        if (!placed) {
            Line line;
            line.raw = entry;
            line.key = key;
            line.isEntry = true;
            lines.append(line);
        }
    }

    QByteArray bytes;
    for (const Line &line : std::as_const(lines)) {
        bytes += line.raw.toUtf8();
        bytes += '\n';
    }

    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat existing;
    if (m_access == Access::Shared)
        mode = existed && ::stat(QFile::encodeName(m_path).constData(), &existing) == 0
                   ? existing.st_mode & 07777
                   : mode | S_IRGRP | S_IROTH;
    int code = 0;
    if (!DurableFiles::replace(m_path, bytes, mode, &code)) {
        m_errorCode = code;
        m_error = DurableFiles::errorText(code);
        return false;
    }
    return true;
}

QString ReadVar(const QString &key, const QString &filePath)
{
    return KeyValueFile(filePath).read(key);
}

bool WriteVar(const QString &key, const QString &value, const QString &filePath)
{
    return KeyValueFile(filePath).write(key, value);
}

bool WriteVars(const QList<std::pair<QString, QString>> &pairs, const QString &filePath)
{
    return KeyValueFile(filePath).write(pairs);
}
