#include "records/PickListItems.h"

#include <algorithm>

namespace PickListItems {

const QStringList &sexes()
{
    static const QStringList items = {QStringLiteral("Male"), QStringLiteral("Female")};
    return items;
}

const QStringList &states()
{
    static const QStringList items = {
        QStringLiteral("Abia"),        QStringLiteral("Abuja"),   QStringLiteral("Adamawa"),
        QStringLiteral("Akwa Ibom"),   QStringLiteral("Anambra"), QStringLiteral("Bayelsa"),
        QStringLiteral("Benue"),       QStringLiteral("Borno"),   QStringLiteral("Cross River"),
        QStringLiteral("Delta"),       QStringLiteral("Ebonyi"),  QStringLiteral("Edo"),
        QStringLiteral("Ekiti"),       QStringLiteral("Enugu"),   QStringLiteral("Gombe"),
        QStringLiteral("Imo"),         QStringLiteral("Jigawa"),  QStringLiteral("Kaduna"),
        QStringLiteral("Kano"),        QStringLiteral("Katsina"), QStringLiteral("Kebbi"),
        QStringLiteral("Kogi"),        QStringLiteral("Kwara"),   QStringLiteral("Lagos"),
        QStringLiteral("Nassarawa"),   QStringLiteral("Niger"),   QStringLiteral("Ogun"),
        QStringLiteral("Ondo"),        QStringLiteral("Osun"),    QStringLiteral("Oyo"),
        QStringLiteral("Plateau"),     QStringLiteral("Rivers"),  QStringLiteral("Sokoto"),
        QStringLiteral("Taraba"),      QStringLiteral("Yobe"),    QStringLiteral("Zamfara"),
        QStringLiteral("Non-Nigerian")};
    return items;
}

const QStringList &maritalStatuses()
{
    static const QStringList items = {QStringLiteral("Single"), QStringLiteral("Married"),
                                      QStringLiteral("Separated"), QStringLiteral("Divorced"),
                                      QStringLiteral("Widowed")};
    return items;
}

const QStringList &serviceStatuses()
{
    static const QStringList items = {QStringLiteral("Working"),   QStringLiteral("Leave"),
                                      QStringLiteral("Maternity"), QStringLiteral("Suspended"),
                                      QStringLiteral("Resigned"),  QStringLiteral("Dismissed"),
                                      QStringLiteral("Retired")};
    return items;
}

QStringList forBox(const QString &boxName, const ClassStructure &classes)
{
    if (boxName == QLatin1String("cmbSex"))
        return sexes();
    if (boxName == QLatin1String("cmbState"))
        return states();
    if (boxName == QLatin1String("cmbClassLevel"))
        return classes.LevelsWithArms;
    if (boxName == QLatin1String("cmbMaritalStatus"))
        return maritalStatuses();
    if (boxName == QLatin1String("cmbServiceStatus"))
        return serviceStatuses();
    return {};
}

std::optional<QStringList> armsOfLevel(const QString &levelText, const ClassStructure &classes)
{
    const QString wanted = levelText.toLower();
    const auto &names = ClassStructure::levelNames();
    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        if (names[i].toLower() != wanted)
            continue;
        const QStringList &arms = classes.ClassArms[i];
        // The count decides; a short or negative one never reads past the list.
        const int count = std::clamp<int>(classes.NumberOfArms[i], 0, int(arms.size()));
        return arms.mid(0, count);
    }
    return std::nullopt;
}

} // namespace PickListItems
