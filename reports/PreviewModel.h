#pragma once

#include <QCache>
#include <QPixmap>
#include <QSqlQueryModel>

// The designer's preview of a query result: rows are fetched as the grid is
// scrolled to them, photos are loaded only for the rows on screen, the last
// column is right-aligned and the remarks are blank unless the password was
// given.
class PreviewModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    static constexpr int PhotoSize = 64;

    PreviewModel(QString appPath, QObject *parent = nullptr);

    // `query` is active and not forward only.
    void show(QSqlQuery &&query, bool hideRemarks);
    bool hasPhotos() const { return m_picture >= 0; }
    int pictureColumn() const { return m_picture; }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The photo a Picture value names, scaled; null when it does not load.
    QPixmap photo(const QString &name) const;

    QString m_appPath;
    int m_picture = -1;
    int m_remarks = -1;
    mutable QCache<QString, QPixmap> m_photos{256};
};
