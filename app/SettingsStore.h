#pragma once

#include <QString>

class MessageBoxes;

// The few values that outlive a run outside the database: the operator's
// password record and the school's name. Kept in Progs/Kolvane.settings,
// readable and writable by its owner only; record N is the key
// "Software\VELMORAN\KOLVANE100\" + N.
class SettingsStore
{
public:
    SettingsStore(QString file, MessageBoxes &messages);

    static QString keyOf(const QString &record);
    static QString fileIn(const QString &appPath);

    // The record's text with surrounding blanks removed; "" when absent or
    // unreadable. Never shows anything.
    QString ReadSetting(const QString &record) const;

    // Stores the text exactly as given. On failure shows the three-line
    // message with the system's error number and returns false.
    bool WriteSetting(const QString &value, const QString &record);

    // The file holds the password hash: one made by hand with wider rights
    // is narrowed to its owner.
    void makeOwnerOnly() const;

    const QString &file() const { return m_file; }

private:
    QString m_file;
    MessageBoxes &m_messages;
};
