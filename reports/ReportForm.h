#pragma once

#include "reports/QueryStatement.h"

#include <QDialog>
#include <array>

class AppState;
class PreviewModel;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

// The report designer: previews a query result, lets the operator choose and
// order the fields of the report, and writes it under a name, with a title and
// an optional date, then shows it in the browser. Made with the query form and
// kept until it closes, so the choices outlive Close.
class ReportForm : public QDialog
{
    Q_OBJECT
public:
    explicit ReportForm(AppState &state, QWidget *parent = nullptr);
    ~ReportForm() override;

    // The fields the result may show, in table order, all selected.
    void fillAvailable(const QStringList &fields);
    // Rebuilds the preview for `result`, which later reports are written from.
    void RepActivate(const QueryResult &result);

    void cmdDirectionClick(int index);
    void cmdMoveUpDownClick(int index);
    void cmdGenerateClick();
    // The same fields of the same rows as a CSV file beside the reports.
    void cmdSpreadsheetClick();

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFieldFrame();
    QWidget *buildReportBox();
    // The output list's fields, the remarks only to an operator who gave the
    // password; empty puts the focus on the list.
    QStringList outputFields();

    AppState &m_state;
    QueryResult m_result;
    PreviewModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QListWidget *m_available = nullptr;
    QListWidget *m_output = nullptr;
    QLineEdit *m_filename = nullptr;
    QLineEdit *m_title = nullptr;
    QCheckBox *m_insert = nullptr;
    QDateEdit *m_date = nullptr;
    QCheckBox *m_browser = nullptr;
};
