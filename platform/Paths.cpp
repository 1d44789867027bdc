#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace Paths {

QString withTrailingSlash(const QString &folder)
{
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString FileNameOfPath(const QString &path)
{
    qsizetype cut = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (cut < 0)
        cut = path.lastIndexOf(u':');
    if (cut < 0)
        return QString();
    return path.mid(cut + 1).toLower();
}

QString resolve(const QString &appPath, const QString &relative)
{
    QString current = withTrailingSlash(appPath);
    const QStringList parts = QString(relative).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    bool onDisk = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        QString chosen = part;
        if (onDisk) {
            if (QFileInfo::exists(current + part)) {
                chosen = part;
            } else {
                onDisk = false;
                const QStringList entries =
                    QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                            | QDir::NoDotAndDotDot);
                for (const QString &entry : entries) {
                    if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                        chosen = entry;
                        onDisk = true;
                        break;
                    }
                }
            }
        }
        current += chosen;
        if (i + 1 < parts.size())
            current += u'/';
    }
    return current;
}

bool exists(const QString &appPath, const QString &relative)
{
    return QFileInfo(resolve(appPath, relative)).isFile();
}

} // namespace Paths
