#pragma once

#include <QHash>
#include <QString>

// A plain text file of `key=value` lines, UTF-8. Keys are told apart by their
// exact spelling. Blanks around keys and values are ignored when reading, so
// an administrator may edit the file by hand; the writer escapes whatever
// would not survive that (line breaks, leading and trailing blanks, "=" in a
// key, backslashes that would look like an escape), so a value reads back
// exactly as it was written. Lines starting with "#" are comments and survive
// every write, as do all other keys.
//
// A write replaces the whole file atomically (temporary file, flush, rename,
// folder flush): a crash half way leaves the old file or the new one, never a
// mixture, and several keys written together arrive together.
class KeyValueFile
{
public:
    // Shared: a new file is readable by all, an existing one keeps its rights.
    // OwnerOnly: the file is the owner's alone at every write, from its first byte.
    enum class Access { Shared, OwnerOnly };

    explicit KeyValueFile(QString path, Access access = Access::Shared);

    const QString &path() const { return m_path; }

    // The value last written under `key`; empty when the key or the file is
    // absent. `found` tells the two apart.
    QString read(const QString &key, bool *found = nullptr) const;

    // Every key with its value, as read would give them; empty when the file
    // is absent or unreadable.
    QHash<QString, QString> readAll() const;

    // Stores `value` under `key`, keeping every other line. Returns false, with
    // the reason in `error` (the system's error number in `errorCode`), when the
    // file could not be written; the file is then as it was.
    bool write(const QString &key, const QString &value);

    // Several keys in one replacement of the file.
    bool write(const QList<std::pair<QString, QString>> &pairs);

    QString errorString() const { return m_error; }
    int errorCode() const { return m_errorCode; }

    static QString encodeKey(const QString &key);
    static QString encodeValue(const QString &value);
    static QString decode(const QString &text);

private:
    QString m_path;
    Access m_access;
    QString m_error;
    int m_errorCode = 0;
};

// The variable store over the class structure file: the two operations its
// callers use. Errors are swallowed as they expect: a failed read gives "".
QString ReadVar(const QString &key, const QString &filePath);
bool WriteVar(const QString &key, const QString &value, const QString &filePath);
// Several keys that belong to one decision, in one replacement.
bool WriteVars(const QList<std::pair<QString, QString>> &pairs, const QString &filePath);
