#include "records/PhotoFolder.h"

#include "platform/DurableFiles.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString Relative = QStringLiteral("Pictures/Frontview/");

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// "ade.gif", then "ade-2.gif", "ade-3.gif", ...
QString freeName(const QString &folder, const QString &name)
{
    const QFileInfo info(name);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString base = name.left(name.size() - suffix.size());
    for (int n = 2;; ++n) {
        const QString candidate = base + u'-' + QString::number(n) + suffix;
        if (!QFileInfo::exists(Paths::resolve(folder, candidate)))
            return candidate;
    }
}

} // namespace

namespace PhotoFolder {

QString folder(const QString &appPath)
{
    return Paths::withTrailingSlash(Paths::resolve(appPath, Relative));
}

QString pathOf(const QString &appPath, const QString &picture)
{
    QString name = QString(picture).replace(u'\\', u'/').section(u'/', -1);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name.clear();
    return name.isEmpty() ? folder(appPath) : Paths::resolve(appPath, Relative + name);
}

Kept keep(const QString &appPath, const QString &chosen,
          const std::function<bool(const QString &name)> &replace)
{
    const QFileInfo from(chosen);
    const QString dir = folder(appPath);
    const QString name = Paths::FileNameOfPath(chosen);
    if (name.isEmpty() || !from.isFile() ||
        QFileInfo(from.absolutePath()).canonicalFilePath() == QFileInfo(dir).canonicalFilePath())
        return {chosen, {}};
    QFile source(chosen);
    if (!source.open(QIODevice::ReadOnly))
        return {chosen, source.errorString()};
    const QByteArray bytes = source.readAll();
    QString target = Paths::resolve(dir, name);
    if (QFileInfo::exists(target)) {
        if (bytesOf(target) == bytes)
            return {target, {}};
        if (!replace(name))
            target = dir + freeName(dir, name);
    }
    int error = 0;
    if (!DurableFiles::replace(target, bytes, 0644, &error))
        return {chosen, DurableFiles::errorText(error)};
    return {target, {}};
}

} // namespace PhotoFolder
