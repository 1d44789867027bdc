#pragma once

#include "records/StudentImport.h"

#include <QDialog>
#include <functional>

class AppState;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Tools > Import Students: the operator picks a CSV file, reads what it holds
// (new students, numbers already there, lines that cannot be read) and imports
// the new students, or cancels.
class ImportStudents : public QDialog
{
    Q_OBJECT
public:
    ImportStudents(AppState &state, QWidget *parent = nullptr);

    // Asks for the file to read, starting in `folder`; empty when cancelled.
    // A file dialog in the program, an answer in tests.
    std::function<QString(QWidget *parent, const QString &folder)> chooseFile;

private:
    void browse();
    void importRows();

    AppState &m_state;
    StudentImport m_import;
    QLineEdit *m_file;
    QPlainTextEdit *m_summary;
    QPushButton *m_browse;
    QPushButton *m_importButton;
};
