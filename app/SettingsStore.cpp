#include "app/SettingsStore.h"

#include <QFile>

#include "platform/KeyValueFile.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

SettingsStore::SettingsStore(QString file, MessageBoxes &messages)
    : m_file(std::move(file))
    , m_messages(messages)
{
}

QString SettingsStore::keyOf(const QString &record)
{
    return QStringLiteral("Software\\VELMORAN\\KOLVANE100\\") + record;
}

QString SettingsStore::fileIn(const QString &appPath)
{
    return Paths::resolve(appPath, QStringLiteral("Progs/Kolvane.settings"));
}

QString SettingsStore::ReadSetting(const QString &record) const
{
    QString value = KeyValueFile(m_file).read(keyOf(record));
    // Spaces only, as the office's old store trimmed.
    qsizetype start = 0;
    while (start < value.size() && value.at(start) == u' ')
        ++start;
    qsizetype end = value.size();
    while (end > start && value.at(end - 1) == u' ')
        --end;
    return value.mid(start, end - start);
}

bool SettingsStore::WriteSetting(const QString &value, const QString &record)
{
    const QString key = keyOf(record);
    KeyValueFile store(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (store.write(key, value)) {
        // The file holds the password hash: owner-only even when an
        // administrator made it by hand with wider rights.
        QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return true;
    }
    m_messages.show(MessageBoxes::lines({QStringLiteral("Error Creating Registry Key Entry:"),
                                         QStringLiteral("Key = ") + key,
                                         QStringLiteral("DLL Returned = ")
                                             + QString::number(store.errorCode())}),
                    MessageBoxes::Icon::Exclamation, MessageBoxes::Ok);
    return false;
}
