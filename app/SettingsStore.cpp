#include "app/SettingsStore.h"

#include <QFile>

#include "app/Password.h"
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

void SettingsStore::makeOwnerOnly() const
{
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions now = QFile::permissions(m_file);
    if (now & others)
        QFile::setPermissions(m_file, now & (QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

QString SettingsStore::ReadSetting(const QString &record) const
{
    // Spaces only, as the office's old store trimmed.
    return TrimSpaces(KeyValueFile(m_file).read(keyOf(record)));
}

bool SettingsStore::WriteSetting(const QString &value, const QString &record)
{
    const QString key = keyOf(record);
    KeyValueFile store(m_file, KeyValueFile::Access::OwnerOnly);
    if (store.write(key, value))
        return true;
    m_messages.show(MessageBoxes::lines({QStringLiteral("Error Creating Registry Key Entry:"),
                                         QStringLiteral("Key = ") + key,
                                         QStringLiteral("DLL Returned = ")
                                             + QString::number(store.errorCode())}),
                    MessageBoxes::Icon::Exclamation, MessageBoxes::Ok);
    return false;
}
