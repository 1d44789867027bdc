#include "classes/ClassStructure.h"

#include "platform/KeyValueFile.h"
#include "platform/Numbers.h"


const std::array<QString, ClassStructure::LevelCount> &ClassStructure::levelNames()
{
    static const std::array<QString, LevelCount> names = {
        QStringLiteral("KinderGarten1"), QStringLiteral("KinderGarten2"),
        QStringLiteral("Nursery1"),      QStringLiteral("Nursery2"),
        QStringLiteral("Nursery3"),      QStringLiteral("Primary1"),
        QStringLiteral("Primary2"),      QStringLiteral("Primary3"),
        QStringLiteral("Primary4"),      QStringLiteral("Primary5"),
        QStringLiteral("Primary6"),      QStringLiteral("Secondary1"),
        QStringLiteral("Secondary2"),    QStringLiteral("Secondary3"),
        QStringLiteral("Secondary4"),    QStringLiteral("Secondary5"),
        QStringLiteral("Secondary6"),    QStringLiteral("Secondary7"),
        QStringLiteral("Secondary8")};
    return names;
}

int ClassStructure::levelIndex(const QString &name) const
{
    for (int i = 0; i < LevelCount; ++i)
        if (ClassLevelNames[i] == name)
            return i;
    return -1;
}

void FillClassLevelNames(ClassStructure &classes)
{
    classes.ClassLevelNames = ClassStructure::levelNames();
}

void LoadClassStructure(ClassStructure &classes, const QString &iniPath)
{
    // One read of the file serves every key.
    const QHash<QString, QString> values = KeyValueFile(iniPath).readAll();
    auto read = [&values](const QString &key) { return values.value(key); };

    classes.CurrentTerm = read(QStringLiteral("CurrentTerm")).trimmed() + u' ';

    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        const QString text = read(ClassStructure::countKey(classes.ClassLevelNames[i]));
        classes.NumberOfArms[i] = Numbers::toInt16(Numbers::readNumber(text));
    }

    classes.LevelsWithArms.clear();
    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        QStringList &arms = classes.ClassArms[i];
        arms.clear();
        const int count = classes.NumberOfArms[i];
        if (count < 1)
            continue;
        classes.LevelsWithArms.append(classes.ClassLevelNames[i]);
        arms.reserve(count);
        for (int arm = 1; arm <= count; ++arm)
            arms.append(read(ClassStructure::armKey(classes.ClassLevelNames[i], arm)));
    }
}

bool SaveClassStructure(const ClassStructure &classes, const QString &iniPath)
{
    QList<std::pair<QString, QString>> pairs;
    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        const QString &level = classes.ClassLevelNames[i];
        const int count = classes.NumberOfArms[i];
        pairs.append({ClassStructure::countKey(level), QString::number(count)});
        for (int arm = 1; arm <= count; ++arm)
            pairs.append({ClassStructure::armKey(level, arm),
                          classes.ClassArms[i].value(arm - 1).trimmed()});
    }
    return WriteVars(pairs, iniPath);
}
