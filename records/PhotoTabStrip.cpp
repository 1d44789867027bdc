#include "records/PhotoTabStrip.h"

#include "app/AppState.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "records/MenData.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QStorageInfo>
#include <QTreeView>

namespace {

const char *const Words[] = {"FrontView", "LeftView", "RightView", "Signature", "ThumbPrint"};

} // namespace

PhotoTabStrip::PhotoTabStrip(AppState &state, MenData &form, int kind)
    : QDialog(&form), m_state(state), m_form(form)
{
    setObjectName(QStringLiteral("PhotoTabStrip"));
    const QString word = QLatin1String(Words[qBound(0, kind, 4)]);
    setWindowTitle(QStringLiteral("Select Photo from ") + word);
    setModal(true);

    auto *frame = new QGroupBox(QStringLiteral("Select Photo"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_drives = new QComboBox(frame);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setAccessibleName(QStringLiteral("Drive"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString name = volume.displayName();
        m_drives->addItem(name == volume.rootPath() ? name : volume.rootPath() + QStringLiteral("  [") + name + u']',
                          volume.rootPath());
    }

    m_dirModel = new QFileSystemModel(this);
    m_dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_dirModel->setRootPath(QDir::rootPath());
    m_dirs = new QTreeView(frame);
    m_dirs->setObjectName(QStringLiteral("Dir1"));
    m_dirs->setAccessibleName(QStringLiteral("Folder"));
    m_dirs->setModel(m_dirModel);
    m_dirs->setHeaderHidden(true);
    for (int column = 1; column < m_dirModel->columnCount(); ++column)
        m_dirs->hideColumn(column);

    m_fileModel = new QFileSystemModel(this);
    m_fileModel->setFilter(QDir::Files | QDir::Hidden);
    m_files = new QListView(frame);
    m_files->setObjectName(QStringLiteral("flbPhoto"));
    m_files->setAccessibleName(QStringLiteral("File"));
    m_files->setModel(m_fileModel);

    m_preview = new QLabel(frame);
    m_preview->setObjectName(QStringLiteral("ImgChosenPhoto"));
    m_preview->setToolTip(QStringLiteral("Select a file for preview or press Delete to clear"));
    m_preview->setAccessibleName(m_preview->toolTip());
    m_preview->setFixedSize(200, 240);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setAlignment(Qt::AlignCenter);

    auto *insertButton = new QPushButton(QStringLiteral("Insert"), this);
    insertButton->setObjectName(QStringLiteral("cmdInsert"));
    auto *closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));

    auto *grid = new QGridLayout(frame);
    grid->addWidget(m_drives, 0, 0);
    grid->addWidget(m_dirs, 1, 0);
    grid->addWidget(m_files, 2, 0);
    grid->addWidget(m_preview, 0, 1, 3, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(insertButton);
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    resize(560, 460);

    connect(m_drives, &QComboBox::activated, this, &PhotoTabStrip::driveChanged);
    // The folders are listed in the background: the current one is brought
    // into view once the folders above it are there.
    connect(m_dirModel, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        const QString current = m_dirModel->filePath(m_dirs->currentIndex());
        if (current == loaded || current.startsWith(Paths::withTrailingSlash(loaded)))
            m_dirs->scrollTo(m_dirs->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    connect(m_dirs->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &index) {
                if (index.isValid())
                    showFolder(m_dirModel->filePath(index));
            });
    connect(m_files->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &PhotoTabStrip::fileChosen);
    connect(insertButton, &QPushButton::clicked, this, &PhotoTabStrip::insert);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    auto *clear = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    connect(clear, &QShortcut::activated, this, &PhotoTabStrip::clearPreview);

    const QString start = Paths::resolve(m_state.AppPath, QStringLiteral("Pictures/") + word);
    m_drive = m_drives->findData(QStorageInfo(start).rootPath());
    m_drives->setCurrentIndex(m_drive);
    showFolder(start);
}

QString PhotoTabStrip::folder() const
{
    return m_fileModel->rootPath();
}

void PhotoTabStrip::showFolder(const QString &folder)
{
    const QModelIndex at = m_dirModel->index(folder);
    if (m_dirs->currentIndex() != at) {
        m_dirs->setCurrentIndex(at);
        m_dirs->scrollTo(at);
        m_dirs->expand(at);
    }
    m_files->setRootIndex(m_fileModel->setRootPath(folder));
}

void PhotoTabStrip::driveChanged(int index)
{
    const QString root = m_drives->itemData(index).toString();
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady() || !QDir(root).isReadable()) {
        m_state.services.messages.showTitled(QStringLiteral("Error"), QStringLiteral("Dirve Error"),
                                             MessageBoxes::Icon::Exclamation, MessageBoxes::Ok);
        m_drives->setCurrentIndex(m_drive);
        return;
    }
    m_drive = index;
    showFolder(root);
}

void PhotoTabStrip::fileChosen(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString file = m_fileModel->filePath(index);
    const QImage picture = readPictureToFit(file, m_preview->contentsRect().size());
    // Not a picture: the preview keeps what it shows.
    if (picture.isNull())
        return;
    m_picture = picture;
    m_previewPath = file;
    m_preview->setPixmap(QPixmap::fromImage(picture));
}

void PhotoTabStrip::clearPreview()
{
    m_picture = QImage();
    m_previewPath.clear();
    m_preview->clear();
}

void PhotoTabStrip::insert()
{
    m_form.insertPhoto(m_previewPath, m_picture);
}
