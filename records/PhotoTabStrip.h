#pragma once

#include "PhotoLoader.h"

#include <QDialog>
#include <QImage>

class AppState;
class MenData;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QModelIndex;
class QTreeView;

// The photo picker: browses the drives, folders and files of this machine,
// previews a picture and hands it to the record form's image of its kind.
class PhotoTabStrip : public QDialog
{
    Q_OBJECT
public:
    // The picture kinds, numbered as the record form's images.
    enum Kind { FrontView = 0, LeftView, RightView, Signature, ThumbPrint };

    PhotoTabStrip(AppState &state, MenData &form, int kind = FrontView);

    // The file whose picture the preview shows; empty when it shows none.
    QString previewPath() const { return m_previewPath; }
    QString folder() const;

private:
    void showFolder(const QString &folder);
    void driveChanged(int index);
    void fileChosen(const QModelIndex &index);
    void clearPreview();
    void insert();

    AppState &m_state;
    MenData &m_form;
    QComboBox *m_drives = nullptr;
    QTreeView *m_dirs = nullptr;
    QListView *m_files = nullptr;
    QFileSystemModel *m_dirModel = nullptr;
    QFileSystemModel *m_fileModel = nullptr;
    QLabel *m_preview = nullptr;
    QImage m_picture;
    QString m_previewPath;
    int m_drive = -1;
};
