#pragma once

#include "classes/SelectFees.h"
#include "platform/Recordset.h"
#include "records/AsRead.h"
#include "records/StudentMoney.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <QMap>
#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

class PhotoLoader;
class AppState;
class FieldChecks;
class ReviseFees;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QGridLayout;
class QImage;
class QTabWidget;
class QTextEdit;

// The one record form: students, staff, stock and the former records, one row
// at a time over a keyset cursor on the kind's table. Its parts, a file each:
// the form with its tabs and action buttons (MenData.cpp), the controls of the
// four pages (MenDataPages.cpp), the field table with showing and storing
// (MenDataFields.cpp), how each kind of control holds a value
// (MenDataControls.cpp), the actions (MenDataActions.cpp), the money boxes and
// the bill (MenDataMoney.cpp), the field checks and the read-only arrangement
// (MenDataChecks.cpp), and keys, wheel, focus and closing (MenDataEvents.cpp).
// The photo picker is a form of its own (PhotoTabStrip.cpp).
class MenData : public QDialog, public BillTarget
{
    Q_OBJECT
public:
    enum Tab { BasicTab = 0, StudentTab = 1, StaffTab = 2, StockTab = 3 };

    explicit MenData(AppState &state, QWidget *parent = nullptr);
    ~MenData() override;

    // What the opener arranges after its password prompt: the buttons the
    // kind does not allow, or the read-only form, and the caption.
    void arrangeForOpener(bool granted);

    // The current row into the controls, and the controls into the row.
    void ShowTheRecord();
    bool StoreTheRecord();

    // The click handler of the action buttons, by index.
    void cmdActionClick(int index);

    QString kind() const { return m_kind; }
    // "", "New" or "Edit".
    QString actionMode() const { return m_actionMode; }
    bool editing() const;
    Recordset &recordset() { return m_rs; }

    // The full path of the photo, kept with the image.
    QString photoPath() const { return m_photoPath; }
    void setPhotoPath(const QString &path, bool loadPicture);
    // What the picker's Insert hands over: the picture shown and its path.
    void insertPhoto(const QString &path, const QImage &picture);
    // The photo of the row shown is still being decoded.
    bool photoPending() const;

    // The date a picker shows when it holds no date.
    static QDate noDate();

    // Balance := paid - payable; also called by the fee selection.
    void txtPayable_LostFocus();
    // The "Bill this Term" button: the fee selection for the student shown.
    void cmdBillClick();
    // "Print Bill": the row shown, as stored, on one page.
    void cmdPrintBillClick();

    // What the fee selection reads and writes.
    QString classLevelText() const override;
    QString billText() const override;
    void setBillText(const QString &text) override;
    QString debtText() const override;
    void setPayableText(const QString &text) override;
    void payableLostFocus() override { txtPayable_LostFocus(); }

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // How a control holds its field's value.
    enum class Holds {
        Text,     // single-line text box
        Lines,    // multi-line text box
        Rich,     // rich-text box, plain text only
        Bill,     // the bill box; its exact text (CR LF kept) is held apart
        Number,   // text box over a number or money field
        Date,     // date picker
        Pick,     // pick-only list; a stored value not listed is added
        ClassArm, // the arm list, refilled from the level shown
        Sex,      // "Male" is item 0, anything else item 1
        FreePick, // drop-down box with an edit field
        Photo     // the image; the field holds the file name
    };
    enum class Group { Stock, Staff, Student, Person };

    struct Binding
    {
        QWidget *control;
        QString column;
        Holds holds;
        Group group;
    };
    using Rows = std::vector<std::pair<const char *, QWidget *>>;

    template<class T>
    static T *named(T *widget, const char *name, const char *tip = nullptr)
    {
        widget->setObjectName(QLatin1String(name));
        if (tip)
            widget->setToolTip(QString::fromUtf8(tip));
        return widget;
    }

    // The form and its action buttons.
    void buildActions();
    QPushButton *actionButton(int index, const char *caption, const char *tip);
    void showCount();
    void setBrowsing(bool browsing);
    void onNumberChanged(const QString &text);

    // The pages.
    void buildBasicTab(QWidget *page);
    void buildStudentTab(QWidget *page);
    void buildStaffTab(QWidget *page);
    void buildStockTab(QWidget *page);
    QLineEdit *lineEdit(const char *name, const char *tip = nullptr);
    QPlainTextEdit *linesEdit(const char *name, const char *tip = nullptr, int lines = 2);
    QTextEdit *richEdit(const char *name, const char *tip);
    QComboBox *pickList(const char *name, bool editable = false);
    QDateEdit *datePicker(const char *name);
    QLabel *label(const char *caption, QWidget *buddy);
    // Each control with its caption beside it, from `row` on; the row after them.
    int addRows(QGridLayout *grid, int row, const Rows &rows);
    void besideEachOther(QWidget *page, QLayout *left, QLayout *right, int leftStretch = 1,
                         int rightStretch = 1);

    // The field table, and showing and storing over it.
    void bindAll();
    bool belongs(Group group) const;
    QString storeMessage() const;
    QLineEdit *numberBox() const;
    QString captionOf(const QString &column) const;
    void showPhoto();
    void photoLoaded(const QString &file, const QImage &picture);
    // The photo box empty, and no decode still to land in it.
    void forgetPhoto();
    void photoClicked();
    // A photo chosen elsewhere copied into the photo folder before storing.
    bool keepPhoto();
    void resetControls(const QDate &date);
    void rememberControls();
    void restoreControls();
    void refillArms();

    // One control's value.
    void showValue(const Binding &b, const QVariant &value);
    QVariant storedValue(const Binding &b) const;
    // What the control shows, compared to tell a changed field.
    QVariant shownValue(const Binding &b) const;
    void clearValue(const Binding &b, const QDate &date);
    void restoreValue(const Binding &b, const QVariant &shown);
    void selectOrAdd(QComboBox *box, const QString &text);
    void showFreeText(QComboBox *box, const QString &text);
    void showArm(const QString &text);

    // The actions.
    void openRows();
    bool onRow() const;
    bool onRowOrSay();
    bool showLater(QWidget *box, const QString &text);
    void showUnshown();
    bool confirmedTwice(const QString &cancelQuestion, const QString &sureQuestion);
    void moveFirst();
    void moveLast();
    void movePrevious();
    void moveNext();
    void findNumber();
    void newRecord();
    void editRecord();
    void updateRecord();
    void abortChanges();
    void deleteRecord();
    void sendToAlumni();
    void showAfterRemoval();

    // The money boxes and the bill.
    void rememberDebt();
    void txtDebt_LostFocus();
    void moneyFocusMoved(QObject *watched, bool in);
    void setBill(const QString &text);
    // Printing wants a stored row, so not while a row is being edited.
    void updatePrintBill();

    // The field checks and the read-only arrangement.
    void addFieldChecks();
    // The kind's required boxes filled and every changed number box a number.
    bool readyToStore();
    void focusField(QWidget *field);
    void normalisePercentage();
    void lockForReading();
    void setLocked(bool locked);

    // Keys, wheel and focus.
    void focusMoved(QObject *watched, bool in);
    bool keyPressed(QObject *watched, int key);
    bool pickerHeld(QObject *watched, QEvent *event);

    AppState &m_state;
    QString m_kind;
    QString m_formerTable;
    QString m_actionMode;
    Recordset m_rs;

    std::vector<Binding> m_bindings;
    QMap<QWidget *, QVariant> m_remembered;
    // Text for boxes on a tab page not shown, set when a page is shown or
    // editing starts; see showLater().
    QHash<QWidget *, QString> m_unshown;
    QString m_photoPath;
    // What showPhoto last decoded (path, size, time) and the picture it set,
    // so showing a row with the same photo decodes nothing.
    QString m_photoShown;
    qint64 m_photoPixmap = 0;
    QString m_photoWanted;
    PhotoLoader *m_photoLoader = nullptr;

    QTabWidget *m_tabs = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QGroupBox *m_frame3 = nullptr;
    QGroupBox *m_frame4 = nullptr;
    QGroupBox *m_frame5 = nullptr;
    QMap<int, QPushButton *> m_cmdAction;
    QLineEdit *m_goTo = nullptr;

    QLineEdit *m_number = nullptr;
    QComboBox *m_classLevel = nullptr;
    QComboBox *m_classArm = nullptr;
    QComboBox *m_sex = nullptr;
    QLabel *m_photo = nullptr;
    QPushButton *m_bill = nullptr;
    QPushButton *m_printBill = nullptr;
    QLineEdit *m_debt = nullptr;
    QPlainTextEdit *m_billText = nullptr;
    QLineEdit *m_payable = nullptr;
    QLineEdit *m_paid = nullptr;
    QLineEdit *m_balance = nullptr;
    QLineEdit *m_percentage = nullptr;
    QList<QTextEdit *> m_remarksBoxes;
    // The debt remembered and the bill as composed, apart from their boxes.
    StudentMoney m_money;
    FieldChecks *m_checks = nullptr;
    // Loaded, hidden, on the first bill; they go with this form.
    SelectFees *m_selectFees = nullptr;
    ReviseFees *m_reviseFees = nullptr;
    QTextEdit *m_studentRemarks = nullptr;
    QTextEdit *m_staffRemarks = nullptr;
    // Browsing, or the read-only arrangement: the boxes take no typing.
    bool m_controlsLocked = false;
    AsRead m_asRead;
};
