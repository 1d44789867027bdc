#include "reports/PreviewModel.h"

#include "platform/Numbers.h"
#include "platform/Paths.h"

#include <QImageReader>
#include <QSqlQuery>
#include <QSqlRecord>

PreviewModel::PreviewModel(QString appPath, QObject *parent)
    : QSqlQueryModel(parent), m_appPath(std::move(appPath))
{
}

void PreviewModel::show(QSqlQuery &&query, bool hideRemarks)
{
    const QSqlRecord fields = query.record();
    m_picture = fields.indexOf(QStringLiteral("Picture"));
    m_remarks = hideRemarks ? fields.indexOf(QStringLiteral("Remarks")) : -1;
    m_photos.clear();
    setQuery(std::move(query));
}

QPixmap PreviewModel::photo(const QString &name) const
{
    if (QPixmap *known = m_photos.object(name))
        return *known;
    QImageReader reader(Paths::resolve(m_appPath, QStringLiteral("Pictures/Frontview/") +
                                                      QString(name).replace(u'\\', u'/')));
    QPixmap loaded;
    const QImage image = reader.read();
    if (!image.isNull())
        loaded = QPixmap::fromImage(
            image.scaled(PhotoSize, PhotoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    // A photo that does not load is remembered too: the grid asks on every paint.
    m_photos.insert(name, new QPixmap(loaded));
    return loaded;
}

QVariant PreviewModel::data(const QModelIndex &index, int role) const
{
    const int column = index.column();
    if (role == Qt::TextAlignmentRole && column == columnCount() - 1)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::DecorationRole && role != Qt::EditRole)
        return QSqlQueryModel::data(index, role);
    if (column == m_remarks)
        return {};
    const QVariant value = QSqlQueryModel::data(index, Qt::DisplayRole);
    if (column == m_picture && value.toString().endsWith(QLatin1String(".gif"))) {
        const QPixmap picture = photo(value.toString());
        if (!picture.isNull())
            return role == Qt::DecorationRole ? QVariant(picture) : QVariant();
    }
    if (role == Qt::DecorationRole)
        return {};
    if (value.typeId() == QMetaType::Double)
        return Numbers::numberText(value.toDouble());
    return value;
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal &&
        section == columnCount() - 1)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return QSqlQueryModel::headerData(section, orientation, role);
}
