#pragma once

#include <QString>

// The operator password is never kept: only an Argon2id hash of it,
// lower-cased, since the prompt ignores letter case. An empty hash means no
// password has been set.

// The hash text to store for `plain`; empty if hashing failed (out of memory).
QString HashPassword(const QString &plain);

// Whether `entry` is the password whose hash is `hash`, letter case aside.
// With no password set only an empty entry matches.
bool PasswordMatches(const QString &hash, const QString &entry);

// `text` without its leading and trailing spaces (spaces only, as the prompt
// has always trimmed).
QString TrimSpaces(const QString &text);
