#include "classes/RestructureClasses.h"

#include "app/AppState.h"
#include "platform/FieldChecks.h"
#include "platform/FirstEmptyBox.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int ArmsPerRow = 4;

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace

RestructureClasses::RestructureClasses(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_intro(new QLabel(this)), m_frame(new QGroupBox(this)),
      m_numClass(new QLabel(m_frame)), m_num(new QLineEdit(m_frame)),
      m_armNames(new QLabel(QStringLiteral("What do you call each one?..."), m_frame)),
      m_progressBar(new QProgressBar(this)), m_checks(new FieldChecks(this))
{
    setObjectName(QStringLiteral("RestructureClasses"));
    setWindowTitle(QStringLiteral("Restructure Classes Wizard"));
    setModal(true);

    m_intro->setObjectName(QStringLiteral("Label1"));
    m_intro->setText(QStringLiteral(
        "This wizard guides you through restructuring your school classes. You are to specify "
        "the number of Class Levels and the names of the Class Arms for your school. Click Next "
        "to go forward or Back to return to the preceeding page. At the final stage, click "
        "Finish to commit your changes."));
    m_intro->setWordWrap(true);

    buildLevelFrame();
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setAccessibleName(QStringLiteral("Progress"));
    auto *buttons = buildButtons();

    // The form: the introduction, the level's frame, the progress, the buttons.
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(m_frame);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: the count, the arms row by row, then the buttons in index order.
    QWidget *previous = m_num;
    for (QLineEdit *box : std::as_const(m_levelName)) {
        setTabOrder(previous, box);
        previous = box;
    }
    for (QPushButton *button : std::as_const(m_navigate)) {
        setTabOrder(previous, button);
        previous = button;
    }

    m_checks->add(m_num, [this] { return txtNumAcceptable(); });
    m_checks->exempt(m_navigate.at(Cancel));
    connect(m_num, &QLineEdit::textChanged, this, &RestructureClasses::txtNumChange);

    loadGrid();
    m_page = 0;
    ShowWhichPage();
    m_num->setFocus(Qt::OtherFocusReason);
}

// The level's page: its count, then its arms four to a row.
void RestructureClasses::buildLevelFrame()
{
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_numClass->setObjectName(QStringLiteral("lblNumClass"));
    m_numClass->setBuddy(m_num);
    m_num->setObjectName(QStringLiteral("txtNum"));
    m_num->setToolTip(QStringLiteral("value must be between 0 and 20"));
    m_num->setFixedWidth(m_num->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    m_num->setAlignment(Qt::AlignRight);
    m_num->installEventFilter(this);
    m_armNames->setObjectName(QStringLiteral("lblArmNames"));

    auto *countRow = new QHBoxLayout;
    countRow->addWidget(m_numClass);
    countRow->addWidget(m_num);
    countRow->addStretch();

    auto *armGrid = new QGridLayout;
    armGrid->setHorizontalSpacing(8);
    for (int i = 0; i < MaxArms; ++i) {
        auto *box = new QLineEdit(m_frame);
        box->setObjectName(indexedName("txtLevelName", i));
        box->setPlaceholderText(QStringLiteral("Arm %1").arg(i + 1));
        box->setAccessibleName(QStringLiteral("Arm %1").arg(i + 1));
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(u'M') * 9);
        // Hidden boxes keep their cell, so the grid stays put as the count changes.
        QSizePolicy policy = box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        box->setSizePolicy(policy);
        armGrid->addWidget(box, i / ArmsPerRow, i % ArmsPerRow);
        m_levelName.append(box);
    }
    m_armNames->setBuddy(m_levelName.first());

    auto *frameLayout = new QVBoxLayout(m_frame);
    frameLayout->addLayout(countRow);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(m_armNames);
    frameLayout->addLayout(armGrid);
}

QHBoxLayout *RestructureClasses::buildButtons()
{
    const char *captions[] = {"&Cancel", "&Back", "&Next", "&Finish"};
    auto *buttons = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(captions[i]), this);
        button->setObjectName(indexedName("cmdNavigate", i));
        button->setAutoDefault(false);
        // Back keeps its place on the first page; Next and Finish, never shown
        // together, take turns in one place.
        if (i == Back) {
            QSizePolicy policy = button->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            button->setSizePolicy(policy);
        }
        connect(button, &QPushButton::clicked, this, [this, i] { cmdNavigateClick(i); });
        m_navigate.append(button);
    }
    buttons->addWidget(m_navigate.at(Cancel));
    buttons->addStretch();
    buttons->addWidget(m_navigate.at(Back));
    buttons->addWidget(m_navigate.at(Next));
    buttons->addWidget(m_navigate.at(Finish));
    return buttons;
}

void RestructureClasses::loadGrid()
{
    // Counts outside what the wizard can hold (a hand-edited file) are shown
    // held to 0..20.
    for (int level = 0; level < ClassStructure::LevelCount; ++level) {
        GridRow &row = m_classGrid[level];
        row.count = std::clamp<int>(m_state.classes.NumberOfArms[level], 0, MaxArms);
        const QStringList &arms = m_state.classes.ClassArms[level];
        for (int k = 1; k <= row.count && k <= arms.size(); ++k)
            row.arms[k - 1] = arms.at(k - 1);
    }
}

bool RestructureClasses::txtNumAcceptable() const
{
    const QString text = m_num->text();
    if (!Numbers::isWholeNumberText(text))
        return false;
    const double value = Numbers::readNumber(text);
    return value >= 0 && value <= MaxArms;
}

void RestructureClasses::txtNumChange()
{
    const QString text = m_num->text();
    if (!Numbers::isWholeNumberText(text))
        return;
    const qint64 n = Numbers::roundHalfEven(Numbers::readNumber(text));
    if (n < 0 || n > MaxArms)
        return;
    for (int i = 0; i < MaxArms; ++i)
        m_levelName.at(i)->setVisible(i < n);
}

void RestructureClasses::setCountCaption()
{
    m_numClass->setText(QStringLiteral("Number of arms in ") +
                        m_state.classes.ClassLevelNames[m_page]);
}

void RestructureClasses::ShowWhichPage()
{
    const GridRow &row = m_classGrid[m_page];
    m_num->setText(QString::number(row.count));
    // The same text as the page before emits no change.
    txtNumChange();
    setCountCaption();
    for (QLineEdit *box : std::as_const(m_levelName))
        box->clear();
    for (int k = 1; k <= row.count; ++k)
        m_levelName.at(k - 1)->setText(row.arms[k - 1]);

    const bool first = m_page == 0;
    const bool last = m_page == ClassStructure::LevelCount - 1;
    m_navigate.at(Cancel)->show();
    m_navigate.at(Back)->setVisible(!first);
    m_navigate.at(Next)->setVisible(!last);
    m_navigate.at(Finish)->setVisible(last);
}

void RestructureClasses::StoreWhichPage()
{
    setCountCaption();
    // Rounded as the page showed it (halves to even), so every name the page asked for is
    // kept; at most 20, and the count rule keeps it from going below 0.
    const qint64 shown = Numbers::roundHalfEven(Numbers::readNumber(m_num->text()));
    const int n = static_cast<int>(std::clamp<qint64>(shown, 0, MaxArms));
    GridRow &row = m_classGrid[m_page];
    row.count = n;
    for (int k = 1; k <= n; ++k)
        row.arms[k - 1] = m_levelName.at(k - 1)->text().trimmed();
}

void RestructureClasses::PutIniFile()
{
    m_progress.clear();
    ClassStructure next = m_state.classes;
    for (int level = 0; level < ClassStructure::LevelCount; ++level) {
        const GridRow &row = m_classGrid[level];
        const int n = row.count;
        next.NumberOfArms[level] = qint16(n);
        next.ClassArms[level].clear();
        for (int k = 0; k <= n; ++k) {
            const double position = 95.0 * ((level + 1) + double(k + 1) / double(n + 1)) / 20.0;
            m_progress.append(position);
            m_progressBar->setValue(qRound(position));
            if (k > 0)
                next.ClassArms[level].append(row.arms[k - 1]);
        }
    }
    // The structure is one decision: all of it reaches the file or none.
    const bool saved = SaveClassStructure(next, m_state.IniPath);
    LoadClassStructure(m_state.classes, m_state.IniPath);
    // The operator must know when the structure did not reach the file: the
    // next start would otherwise bring back the old one without a word.
    if (!saved)
        m_state.services.messages.ok(
            MessageBoxes::lines({QStringLiteral("The class structure could not be saved to"),
                                 m_state.IniPath,
                                 QStringLiteral("The classes are as the file now holds them.")}),
            MessageBoxes::Icon::Exclamation);
    accept();
}

void RestructureClasses::cmdNavigateClick(int index)
{
    if (index != Cancel) {
        const double value = Numbers::readNumber(m_num->text());
        if (value > 0) {
            const qint64 count = std::min<qint64>(Numbers::roundHalfEven(value), MaxArms);
            if (FirstEmptyBox(m_levelName, static_cast<int>(count), 0, false) >= 0)
                return;
        }
    }
    switch (index) {
    case Cancel:
        if (m_state.services.messages.yes(
                MessageBoxes::lines({QStringLiteral("Are you sure you want to"),
                                     QStringLiteral("Abort the Restructure Classes Wizard?")})))
            QDialog::reject();
        break;
    case Back:
        StoreWhichPage();
        m_page = std::max(m_page - 1, 0);
        ShowWhichPage();
        m_num->setFocus(Qt::OtherFocusReason);
        break;
    case Next:
        StoreWhichPage();
        m_page = std::min(m_page + 1, ClassStructure::LevelCount - 1);
        ShowWhichPage();
        m_num->setFocus(Qt::OtherFocusReason);
        break;
    case Finish:
        StoreWhichPage();
        for (QPushButton *button : std::as_const(m_navigate))
            button->hide();
        PutIniFile();
        break;
    default:
        break;
    }
}

void RestructureClasses::reject()
{
    QPushButton *cancel = m_navigate.at(Cancel);
    if (cancel->isVisible() && cancel->isEnabled())
        cmdNavigateClick(Cancel);
}

bool RestructureClasses::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_num && event->type() == QEvent::FocusIn) {
        m_num->selectAll();
        // A mouse press places the caret after the focus arrives.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason) {
            QPointer<QLineEdit> box = m_num;
            QTimer::singleShot(0, this, [box] {
                if (box && box->hasFocus())
                    box->selectAll();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}
