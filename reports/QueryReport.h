#pragma once

#include "reports/QueryRows.h"
#include "reports/QueryStatement.h"

#include <QDialog>
#include <array>

class AppState;
class FieldChecks;
class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class ReportForm;

// The query-by-example form over the current record kind: the operator marks
// criteria rows, gives each a value and an operator, picks up to three sort
// fields and asks for all records or the matching ones. The count is shown;
// the result goes to the report designer.
class QueryReport : public QDialog
{
    Q_OBJECT
public:
    enum Tab { PeopleTab = 0, StockTab = 1 };

    explicit QueryReport(AppState &state, QWidget *parent = nullptr);
    ~QueryReport() override;

    // The last search; empty before the first or after one that was cancelled.
    const QueryResult &result() const { return m_result; }
    qint64 count() const { return m_count; }

    void cmdQClick(int index);
    void cmdGiveWholeReportClick(int index);

signals:
    // "Display Result": the designer opens on it.
    void displayResult(const QueryResult &result);

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *buildSortFrame();
    QWidget *buildPeopleTab();
    QWidget *buildStockTab();
    QFrame *frame(const char *name);
    // Only the tab of the kind is offered.
    void arrangeByKind();
    // The rows of `group` into a grid, two columns of rows side by side
    // when `split` rows fill the first.
    void addRows(QGridLayout *grid, QueryRows::Group group, int split = 99);
    QWidget *valueControl(int i);
    int rowHeight() const;
    QString valueOf(int i) const;

    void FillFieldLists(const QStringList &columns);
    QString BuildSortClause() const;
    QueryResult BuildQuery(const QString &sortClause) const;
    void CountResult(const QueryResult &result);
    void refillArms();

    AppState &m_state;
    QString m_kind;
    QueryResult m_result;
    qint64 m_count = 0;
    QStringList m_columns;
    QStringList m_designerFields;

    std::array<QCheckBox *, QueryRows::Count> m_chk{};
    std::array<QWidget *, QueryRows::Count> m_value{};
    std::array<QPushButton *, QueryRows::Count> m_cmd{};
    std::array<QComboBox *, 3> m_sort{};
    QTabWidget *m_tabs = nullptr;
    QFrame *m_frameStudent = nullptr;
    QFrame *m_frameStaff = nullptr;
    QFrame *m_frame1 = nullptr;
    QPushButton *m_display = nullptr;
    QLabel *m_recFound = nullptr;
    QComboBox *m_classLevel = nullptr;
    QComboBox *m_classArm = nullptr;
    FieldChecks *m_checks = nullptr;
    ReportForm *m_designer = nullptr;
};
