#pragma once

#include <QString>

namespace Paths {

// The folder with exactly one "/" at its end.
QString withTrailingSlash(const QString &folder);

// The part of a path behind its last "\" or "/" (or, with neither, behind its
// last ":"), lower-cased. A bare name, or a path ending in a separator, gives "".
QString FileNameOfPath(const QString &path);

// `relative` under `appPath`, each part matched without regard to letter case
// against what is on disk. Parts that exist nowhere keep the spelling given, so
// the result can also name a file that is about to be created.
QString resolve(const QString &appPath, const QString &relative);

// Whether `relative` under `appPath` names an existing file, letter case aside.
bool exists(const QString &appPath, const QString &relative);

} // namespace Paths
