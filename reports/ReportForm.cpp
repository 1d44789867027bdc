#include "reports/ReportForm.h"

#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "reports/BrowserLaunch.h"
#include "reports/PreviewModel.h"
#include "reports/ReportWriter.h"
#include "reports/SpreadsheetWriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &caption, const QString &name, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tip.isEmpty()) {
        b->setToolTip(tip);
        b->setAccessibleName(tip);
    }
    return b;
}

QLabel *labelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ReportForm::ReportForm(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("ReportForm"));
    setModal(true);
    setWindowTitle(QStringLiteral("Generate reports for ") + m_state.SchoolName);

    QWidget *fields = buildFieldFrame();
    QWidget *report = buildReportBox();

    m_model = new PreviewModel(m_state.AppPath, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("MSHFlexGrid1"));
    m_grid->setAccessibleName(QStringLiteral("Query result"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    auto *lower = new QHBoxLayout;
    lower->addWidget(fields, 3);
    lower->addWidget(report, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(lower);
    resize(960, 720);
}

ReportForm::~ReportForm() = default;

QWidget *ReportForm::buildFieldFrame()
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_available = new QListWidget(frame);
    m_available->setObjectName(QStringLiteral("lstAvailable"));
    m_available->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_available->setToolTip(QStringLiteral("Make multiple selection with Ctrl or Shift"));
    m_output = new QListWidget(frame);
    m_output->setObjectName(QStringLiteral("lstOutput"));
    m_output->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto *copy = button(QStringLiteral("-->>"), QStringLiteral("cmdDirection(0)"),
                        QStringLiteral("Copy selected fields to the output list"), frame);
    auto *remove = button(QStringLiteral("<<--"), QStringLiteral("cmdDirection(1)"),
                          QStringLiteral("Remove selected fields from the output list"), frame);
    auto *up = button(QStringLiteral("/\\"), QStringLiteral("cmdMoveUpDown(0)"),
                      QStringLiteral("Move selected item up in output list"), frame);
    auto *down = button(QStringLiteral("\\/"), QStringLiteral("cmdMoveUpDown(1)"),
                        QStringLiteral("Move selected item down in output list"), frame);
    for (QPushButton *b : {copy, remove, up, down})
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("<<--")) * 2);
    connect(copy, &QPushButton::clicked, this, [this] { cmdDirectionClick(0); });
    connect(remove, &QPushButton::clicked, this, [this] { cmdDirectionClick(1); });
    connect(up, &QPushButton::clicked, this, [this] { cmdMoveUpDownClick(0); });
    connect(down, &QPushButton::clicked, this, [this] { cmdMoveUpDownClick(1); });
    // Tab walks the lists and the buttons between them in reading order.
    setTabOrder(m_available, copy);
    setTabOrder(copy, remove);
    setTabOrder(remove, m_output);
    setTabOrder(m_output, up);
    setTabOrder(up, down);

    auto *arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(copy);
    arrows->addWidget(remove);
    arrows->addStretch(1);
    auto *order = new QVBoxLayout;
    order->addStretch(1);
    order->addWidget(up);
    order->addWidget(down);
    order->addStretch(1);

    auto *grid = new QGridLayout(frame);
    grid->addWidget(labelFor(QStringLiteral("Available fields"), m_available, frame), 0, 0);
    grid->addWidget(labelFor(QStringLiteral("Fields to output in report"), m_output, frame), 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(arrows, 1, 1);
    grid->addWidget(m_output, 1, 2);
    grid->addLayout(order, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    return frame;
}

QWidget *ReportForm::buildReportBox()
{
    auto *box = new QWidget(this);
    const QString unique = QStringLiteral("Should be unique or existing will be appended");
    m_filename = new QLineEdit(box);
    m_filename->setObjectName(QStringLiteral("txtFilename"));
    m_filename->setToolTip(QStringLiteral("HTML file will be generated in your Reports subfolder"));
    m_title = new QLineEdit(box);
    m_title->setObjectName(QStringLiteral("txtTitle"));
    for (QLineEdit *edit : {m_filename, m_title})
        edit->installEventFilter(this);
    auto *nameLabel = labelFor(QStringLiteral("Supply desired report name"), m_filename, box);
    auto *titleLabel = labelFor(QStringLiteral("...and below the report title"), m_title, box);
    nameLabel->setToolTip(unique);
    titleLabel->setToolTip(unique);

    m_insert = new QCheckBox(QStringLiteral("Insert"), box);
    m_insert->setObjectName(QStringLiteral("chkInsert"));
    m_date = new QDateEdit(m_state.services.clock.today(), box);
    m_date->setObjectName(QStringLiteral("dtpInsert"));
    m_date->setAccessibleName(QStringLiteral("Date to insert"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_browser = new QCheckBox(QStringLiteral("Show in Web Browser"), box);
    m_browser->setObjectName(QStringLiteral("chkBrowser"));
    m_browser->setChecked(true);

    auto *generate = button(QStringLiteral("&Generate"), QStringLiteral("cmdGenerate"), {}, box);
    auto *close = button(QStringLiteral("&Close"), QStringLiteral("cmdClose"), {}, box);
    auto *spreadsheet = button(QStringLiteral("Save as &Spreadsheet..."),
                               QStringLiteral("cmdSpreadsheet"), {}, box);
    spreadsheet->setToolTip(QStringLiteral("CSV file of the same fields in your Reports subfolder"));
    connect(generate, &QPushButton::clicked, this, &ReportForm::cmdGenerateClick);
    connect(spreadsheet, &QPushButton::clicked, this, &ReportForm::cmdSpreadsheetClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_insert);
    dateRow->addWidget(m_date, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(spreadsheet);
    buttons->addStretch(1);
    buttons->addWidget(generate);
    buttons->addWidget(close);
    auto *column = new QVBoxLayout(box);
    column->addWidget(nameLabel);
    column->addWidget(m_filename);
    column->addWidget(titleLabel);
    column->addWidget(m_title);
    column->addLayout(dateRow);
    column->addWidget(m_browser);
    column->addStretch(1);
    column->addLayout(buttons);
    return box;
}

void ReportForm::fillAvailable(const QStringList &fields)
{
    m_available->clear();
    m_available->addItems(fields);
    m_available->selectAll();
}

void ReportForm::RepActivate(const QueryResult &result)
{
    m_result = result;
    m_model->show(result.run(m_state.db(), false), !m_state.LoginGranted);
    QHeaderView *rows = m_grid->verticalHeader();
    rows->setDefaultSectionSize(m_model->hasPhotos() ? PreviewModel::PhotoSize + 4
                                                     : rows->minimumSectionSize() + 8);
    m_grid->resizeColumnsToContents();
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnWidth(c, qMin(m_grid->columnWidth(c), 240));
    if (m_model->hasPhotos())
        m_grid->setColumnWidth(m_model->pictureColumn(),
                               qMax(m_grid->columnWidth(m_model->pictureColumn()),
                                    PreviewModel::PhotoSize + 8));
}

void ReportForm::cmdDirectionClick(int index)
{
    if (index == 0) {
        for (int i = 0; i < m_available->count(); ++i) {
            const QString text = m_available->item(i)->text();
            if (m_available->item(i)->isSelected() &&
                m_output->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
                m_output->addItem(text);
        }
        return;
    }
    for (int i = m_output->count() - 1; i >= 0; --i)
        if (m_output->item(i)->isSelected())
            delete m_output->takeItem(i);
}

void ReportForm::cmdMoveUpDownClick(int index)
{
    const int i = m_output->currentRow();
    const int to = index == 0 ? i - 1 : i + 1;
    if (i < 0 || to < 0 || to >= m_output->count())
        return;
    m_output->insertItem(to, m_output->takeItem(i));
    m_output->setCurrentRow(to, QItemSelectionModel::ClearAndSelect);
}

QStringList ReportForm::outputFields()
{
    QStringList fields;
    for (int i = 0; i < m_output->count(); ++i)
        fields << m_output->item(i)->text();
    fields = QueryStatement::designerFields(fields, m_state.LoginGranted);
    if (fields.isEmpty())
        m_output->setFocus();
    return fields;
}

void ReportForm::cmdGenerateClick()
{
    const QStringList fields = outputFields();
    if (fields.isEmpty())
        return;
    const QString name = ReportWriter::fileName(m_filename->text());
    if (name.isEmpty())
        return;
    ReportWriter::Report report;
    report.appPath = m_state.AppPath;
    report.schoolName = m_state.SchoolName;
    report.path = Paths::resolve(m_state.AppPath, QStringLiteral("Reports/") + name);
    report.heading = ReportWriter::firstHeading(m_state.classes.CurrentTerm, m_title->text(),
                                                m_insert->isChecked() ? m_date->date() : QDate());
    report.fields = fields;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QSqlQuery rows = m_result.run(m_state.db(), report.fields);
    ReportWriter::Outcome outcome;
    if (rows.isActive())
        outcome = ReportWriter::write(report, rows);
    else
        outcome.error = rows.lastError().text();
    QApplication::restoreOverrideCursor();

    if (!outcome.error.isEmpty())
        m_state.services.messages.ok(outcome.error, MessageBoxes::Icon::Exclamation);
    else if (outcome.pages > 0 && m_browser->isChecked())
        OpenReportPage(m_state.services.desktop, m_state.services.messages, 0, report.path);
    m_filename->setFocus();
}

void ReportForm::cmdSpreadsheetClick()
{
    const QStringList fields = outputFields();
    if (fields.isEmpty())
        return;
    const QString name = SpreadsheetWriter::fileName(m_filename->text());
    if (name.isEmpty()) {
        m_filename->setFocus();
        return;
    }
    const QString path = Paths::resolve(m_state.AppPath, QStringLiteral("Reports/") + name);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QSqlQuery rows = m_result.run(m_state.db(), fields);
    SpreadsheetWriter::Outcome outcome;
    if (rows.isActive())
        outcome = SpreadsheetWriter::write(path, fields, rows);
    else
        outcome.error = rows.lastError().text();
    QApplication::restoreOverrideCursor();

    if (outcome.error.isEmpty())
        m_state.services.messages.ok(
            QStringLiteral("Saved %1 (rows: %2)").arg(path).arg(outcome.rows),
            MessageBoxes::Icon::Information);
    else
        m_state.services.messages.ok(outcome.error, MessageBoxes::Icon::Exclamation);
    m_filename->setFocus();
}

void ReportForm::done(int result)
{
    // No statement stays open on the connection while the designer is hidden;
    // the next Display Result previews afresh.
    m_model->clear();
    QDialog::done(result);
}

bool ReportForm::eventFilter(QObject *watched, QEvent *event)
{
    // A name or title box entered shows its text selected, ready to be typed over.
    if (event->type() == QEvent::FocusIn)
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}
