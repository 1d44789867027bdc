#include "records/ImportStudents.h"

#include "app/AppState.h"
#include "platform/MessageBoxes.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

ImportStudents::ImportStudents(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_import(state.db()), m_file(new QLineEdit(this)),
      m_summary(new QPlainTextEdit(this)),
      m_browse(new QPushButton(QStringLiteral("&Browse..."), this)),
      m_importButton(new QPushButton(QStringLiteral("&Import"), this))
{
    setObjectName(QStringLiteral("ImportStudents"));
    setWindowTitle(QStringLiteral("Import Students"));
    setModal(true);
    chooseFile = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Import Students"), folder,
                                            QStringLiteral("CSV files (*.csv);;All files (*)"));
    };

    m_file->setObjectName(QStringLiteral("txtFile"));
    m_file->setReadOnly(true);
    m_file->setMinimumWidth(380);
    m_browse->setObjectName(QStringLiteral("cmdBrowse"));
    m_browse->setDefault(true);
    m_summary->setObjectName(QStringLiteral("txtSummary"));
    m_summary->setReadOnly(true);
    m_summary->setMinimumHeight(180);
    m_summary->setPlainText(QStringLiteral(
        "Choose a CSV file (UTF-8) whose first line names columns of the Student table, "
        "at least Number and Surname. Dates are written YYYY-MM-DD."));
    m_importButton->setObjectName(QStringLiteral("cmdImport"));
    m_importButton->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *fileCaption = new QLabel(QStringLiteral("&File:"), this);
    fileCaption->setBuddy(m_file);
    auto *summaryCaption = new QLabel(QStringLiteral("&What the file holds:"), this);
    summaryCaption->setBuddy(m_summary);

    auto *grid = new QGridLayout(this);
    grid->addWidget(fileCaption, 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(m_browse, 0, 2);
    grid->addWidget(summaryCaption, 1, 0, 1, 3);
    grid->addWidget(m_summary, 2, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_importButton);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 3);
    setTabOrder(m_browse, m_file);
    setTabOrder(m_file, m_summary);
    setTabOrder(m_summary, m_importButton);
    setTabOrder(m_importButton, cancel);

    connect(m_browse, &QPushButton::clicked, this, &ImportStudents::browse);
    connect(m_importButton, &QPushButton::clicked, this, &ImportStudents::importRows);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImportStudents::browse()
{
    const QString file = chooseFile(this, m_state.path(QStringLiteral("Reports")));
    if (file.isEmpty())
        return;
    m_file->setText(file);
    m_import.read(file);
    m_summary->setPlainText(m_import.summary());
    m_importButton->setEnabled(m_import.canImport());
    (m_import.canImport() ? m_importButton : m_browse)->setDefault(true);
}

void ImportStudents::importRows()
{
    QString error;
    if (!m_import.import(&error)) {
        m_state.services.messages.ok(error, MessageBoxes::Icon::Critical);
        return;
    }
    const int n = m_import.newRows();
    m_state.services.messages.ok(n == 1 ? QStringLiteral("1 student imported.")
                                        : QStringLiteral("%1 students imported.").arg(n),
                                 MessageBoxes::Icon::Information);
    accept();
}
