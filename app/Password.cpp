#include "app/Password.h"

#include <sodium.h>

#include <QByteArray>

#include <algorithm>

namespace {

bool sodiumReady()
{
    // Thread-safe and idempotent in libsodium; -1 only when it cannot work.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// Wipes the UTF-8 copy of a password as soon as it has been used.
class SecretBytes
{
public:
    explicit SecretBytes(const QString &text) : m_bytes(text.toLower().toUtf8()) {}
    ~SecretBytes() { sodium_memzero(m_bytes.data(), static_cast<size_t>(m_bytes.size())); }
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;

    const char *data() const { return m_bytes.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

} // namespace

QString HashPassword(const QString &plain)
{
    if (!sodiumReady())
        return QString();
    const SecretBytes secret(plain);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, secret.data(), secret.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return QString();
    return QString::fromLatin1(out);
}

bool PasswordMatches(const QString &hash, const QString &entry)
{
    if (hash.isEmpty())
        return entry.isEmpty();
    if (!sodiumReady())
        return false;
    const QByteArray stored = hash.toLatin1();
    // A hand-edited record that is too long is no hash of ours.
    if (stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    char text[crypto_pwhash_STRBYTES] = {};
    std::copy(stored.cbegin(), stored.cend(), text);
    const SecretBytes secret(entry);
    return crypto_pwhash_str_verify(text, secret.data(), secret.size()) == 0;
}

QString TrimSpaces(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == u' ')
        ++start;
    qsizetype end = text.size();
    while (end > start && text.at(end - 1) == u' ')
        --end;
    return text.mid(start, end - start);
}
