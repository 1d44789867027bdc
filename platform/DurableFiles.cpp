#include "platform/DurableFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DurableFiles {

namespace {

bool fail(int *errorCode, int code)
{
    if (errorCode)
        *errorCode = code ? code : EIO;
    return false;
}

} // namespace

bool syncFolderOf(const QString &file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString makeTemporaryBeside(const QString &target, int *errorCode)
{
    QByteArray name = QFile::encodeName(target) + ".tmp-XXXXXX";
    // mkstemp makes the file owner-only before anything is in it.
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        fail(errorCode, errno);
        return QString();
    }
    ::close(fd);
    return QFile::decodeName(name);
}

bool rename(const QString &from, const QString &to, int *errorCode)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return fail(errorCode, errno);
    syncFolderOf(to);
    return true;
}

bool replace(const QString &target, const QByteArray &bytes, mode_t mode, int *errorCode)
{
    const QString temp = makeTemporaryBeside(target, errorCode);
    if (temp.isEmpty())
        return false;
    const QByteArray tempName = QFile::encodeName(temp);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::fchmod(fd, mode) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += n;
    }
    ok = ok && ::fsync(fd) == 0;
    const int code = errno;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    if (!ok || !rename(temp, target, errorCode)) {
        if (!ok)
            fail(errorCode, code);
        ::unlink(tempName.constData());
        return false;
    }
    return true;
}

QString errorText(int errorCode)
{
    return QString::fromLocal8Bit(std::strerror(errorCode));
}

} // namespace DurableFiles
