#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The school's class structure and current term as the program holds them.
struct ClassStructure
{
    static constexpr int LevelCount = 19;

    // Fixed names in their fixed order.
    std::array<QString, LevelCount> ClassLevelNames;
    std::array<qint16, LevelCount> NumberOfArms{};
    // Arm names per level, arm 1 at position 0.
    std::array<QStringList, LevelCount> ClassArms;
    QStringList LevelsWithArms;
    QString CurrentTerm;

    int LevelsWithArmsCount() const { return static_cast<int>(LevelsWithArms.size()); }

    // Index of a level by exact name, -1 when none.
    int levelIndex(const QString &name) const;

    static const std::array<QString, LevelCount> &levelNames();
    static QString countKey(const QString &level) { return QStringLiteral("NumberOf") + level; }
    static QString armKey(const QString &level, int arm)
    {
        return level + u'(' + QString::number(arm) + u')';
    }
};

// Fills ClassLevelNames in their fixed order.
void FillClassLevelNames(ClassStructure &classes);

// Reads the class structure file at `iniPath` into `classes`, replacing what
// was there. A missing file or key reads as empty; nothing is reported.
void LoadClassStructure(ClassStructure &classes, const QString &iniPath);

// Writes every level's count and arm names to `iniPath` in one replacement of
// the file, so a crash leaves the old structure or the new one, never a mix.
// Other keys of the file stay. False when the file could not be written.
bool SaveClassStructure(const ClassStructure &classes, const QString &iniPath);
