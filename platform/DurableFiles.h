#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// File replacements that survive a crash or a power cut: a reader finds the
// old file or the new one, never a mixture, and a finished replacement stays
// finished.
namespace DurableFiles {

// Flushes the folder holding `file`, so a rename inside it is on the disk.
bool syncFolderOf(const QString &file);

// A new, empty temporary file beside `target`, readable and writable by its
// owner only from the moment it exists. Empty string on failure.
QString makeTemporaryBeside(const QString &target, int *errorCode = nullptr);

// Renames `from` over `to` and flushes the folder.
bool rename(const QString &from, const QString &to, int *errorCode = nullptr);

// Writes `bytes` to `target` through a temporary file: created with `mode`,
// written, flushed to the disk, renamed over `target`, folder flushed.
// On failure `target` is as it was and no temporary file remains.
bool replace(const QString &target, const QByteArray &bytes, mode_t mode, int *errorCode = nullptr);

// The system's text for an error number.
QString errorText(int errorCode);

} // namespace DurableFiles
