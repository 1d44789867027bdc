#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {

// One listing per folder, kept until the folder changes: a missing photo in a
// folder of a hundred thousand files must not list that folder for every row.
struct Listing
{
    QDateTime modified;
    QHash<QString, QString> byFolded; // case-folded name -> name on disk, empty when the same
};

QMutex listingsLock;
QHash<QString, Listing> listings;

QString nameIn(const Listing &listing, const QString &folded)
{
    const auto at = listing.byFolded.constFind(folded);
    if (at == listing.byFolded.constEnd())
        return QString();
    return at->isEmpty() ? at.key() : *at;
}

QString nameOnDisk(const QString &folder, const QString &name)
{
    const QFileInfo info(folder);
    const QDateTime modified = info.lastModified();
    const QString folded = name.toCaseFolded();
    QMutexLocker lock(&listingsLock);
    auto it = listings.find(folder);
    if (it == listings.end() || it->modified != modified || !modified.isValid()) {
        Listing listing;
        listing.modified = modified;
        // An iterator, not entryList(): a hundred thousand names, no QFileInfo each.
        QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            const QString entry = entries.next().section(u'/', -1);
            QString key = entry.toCaseFolded();
            auto at = listing.byFolded.find(key);
            // Names that differ only in case: always the same one, whatever the listing order.
            const QString current = at == listing.byFolded.end() ? QString()
                                    : at->isEmpty()              ? at.key()
                                                                 : *at;
            if (!current.isEmpty() && current <= entry)
                continue;
            // Most names are stored as they fold; those keep no second copy.
            listing.byFolded.insert(key, key == entry ? QString() : entry);
        }
        if (listings.size() > 64)
            listings.clear();
        // A folder changed within the last two seconds may change again within
        // the clock's resolution, unseen; such a listing is used once, not kept.
        const bool settled = modified.isValid()
                             && modified.msecsTo(QDateTime::currentDateTimeUtc()) > 2000;
        if (!settled) {
            listings.remove(folder);
            return nameIn(listing, folded);
        }
        it = listings.insert(folder, std::move(listing));
    }
    return nameIn(*it, folded);
}

} // namespace

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
                const QString found = nameOnDisk(current, part);
                onDisk = !found.isEmpty();
                if (onDisk)
                    chosen = found;
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
