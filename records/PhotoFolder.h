#pragma once

#include <QString>
#include <functional>

// The front-view photos: the table keeps a file name, the file lives in the
// program's Pictures/FrontView folder.
namespace PhotoFolder {

// The folder as it is spelt on disk, ending in "/".
QString folder(const QString &appPath);

// The full path for a stored name. Only its file name counts, so a stored
// "../../x.gif" never leads out of the folder; no name gives the folder.
QString pathOf(const QString &appPath, const QString &picture);

struct Kept
{
    QString path;  // where the photo is now
    QString error; // why it could not be copied; empty when all went well
};

// Brings a photo chosen elsewhere into the folder under its lower-case name,
// so that the stored name finds it again. A different file already there
// under that name is replaced only when `replace(name)` says so; otherwise
// the new one gets a free name beside it. A photo already in the folder, or
// one that no longer exists, is left where it is.
Kept keep(const QString &appPath, const QString &chosen,
          const std::function<bool(const QString &name)> &replace);

} // namespace PhotoFolder
