#include "classes/SetTerm.h"

#include "app/AppState.h"
#include "classes/Term.h"
#include "platform/KeyValueFile.h"
#include "platform/MessageBoxes.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

SetTerm::SetTerm(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_frame(new QGroupBox(QStringLiteral("Term"), this)),
      m_group(new QButtonGroup(this)), m_year(new QScrollBar(Qt::Horizontal, this)),
      m_yearLabel(new QLabel(this)), m_term(new QLabel(QStringLiteral("Academic Session"), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("SetTerm"));
    setWindowTitle(QStringLiteral("Set Current Term"));
    setModal(true);

    m_frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(m_frame);
    const QStringList captions = Term::captions();
    for (int i = 0; i < captions.size(); ++i) {
        auto *option = new QRadioButton(captions.at(i), m_frame);
        option->setObjectName(QStringLiteral("optTerm(%1)").arg(i));
        m_group->addButton(option, i);
        frameLayout->addWidget(option);
        m_optTerm.append(option);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optTermClick(i);
        });
    }

    m_year->setObjectName(QStringLiteral("hscYear"));
    m_year->setRange(Term::FirstYear, Term::LastYear);
    m_year->setSingleStep(1);
    m_year->setPageStep(1);
    m_year->setValue(Term::StartYear);
    m_year->setFocusPolicy(Qt::StrongFocus);
    // Left and Down go to earlier years, Right and Up to later ones.
    m_year->setInvertedControls(false);
    m_year->setMinimumWidth(240);
    m_year->setToolTip(QStringLiteral("First year of the session"));

    m_yearLabel->setObjectName(QStringLiteral("lblYear"));
    // Room for four digits whatever the year, so the bar does not shift.
    m_yearLabel->setMinimumWidth(
        m_yearLabel->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 4);
    m_yearLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_yearLabel->setText(QString::number(m_year->value()));

    m_term->setObjectName(QStringLiteral("lblTerm"));
    m_term->setFrameShape(QFrame::StyledPanel);
    m_term->setMinimumWidth(
        m_term->fontMetrics().horizontalAdvance(QStringLiteral("Fourth Term_2199/2200")) + 24);
    m_term->setAlignment(Qt::AlignCenter);
    m_term->setMargin(4);

    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));

    auto *yearCaption = new QLabel(QStringLiteral("&Year:"), this);
    yearCaption->setObjectName(QStringLiteral("lblYearCaption"));
    yearCaption->setBuddy(m_year);
    auto *yearRow = new QHBoxLayout;
    yearRow->addWidget(yearCaption);
    yearRow->addWidget(m_year, 1);
    yearRow->addWidget(m_yearLabel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_frame);
    layout->addLayout(yearRow);
    layout->addWidget(m_term);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 1; i < m_optTerm.size(); ++i)
        setTabOrder(m_optTerm.at(i - 1), m_optTerm.at(i));
    setTabOrder(m_optTerm.last(), m_year);
    setTabOrder(m_year, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_year, &QScrollBar::valueChanged, this, &SetTerm::hscYearChange);
    connect(m_ok, &QPushButton::clicked, this, &SetTerm::OKButtonClick);
    connect(m_cancel, &QPushButton::clicked, this, &SetTerm::reject);

    // Opening: take the term and the year from the stored text.
    const QString current = m_state.classes.CurrentTerm;
    const Term::Parts parts = Term::split(current);
    if (!parts.isTerm)
        return;
    if (parts.term >= 0)
        m_optTerm.at(parts.term)->setChecked(true);
    // A year the bar cannot show leaves it where it is, at the start year.
    m_year->setValue(parts.year);
    m_term->setText(current);
    if (parts.term >= 0)
        m_optTerm.at(parts.term)->setFocus();
}

void SetTerm::composeLabel()
{
    m_term->setText(Term::compose(m_chosenTerm, m_year->value()));
}

void SetTerm::optTermClick(int index)
{
    m_chosenTerm = m_optTerm.at(index)->text();
    composeLabel();
}

void SetTerm::hscYearChange()
{
    m_yearLabel->setText(QString::number(m_year->value()));
    composeLabel();
}

void SetTerm::OKButtonClick()
{
    composeLabel();
    m_state.classes.CurrentTerm = m_term->text();
    if (!WriteVar(QStringLiteral("CurrentTerm"), m_state.classes.CurrentTerm, m_state.IniPath))
        m_state.services.messages.ok(
            MessageBoxes::lines({QStringLiteral("The current term could not be saved to"),
                                 m_state.IniPath,
                                 QStringLiteral("It holds for this session only.")}),
            MessageBoxes::Icon::Exclamation);
    accept();
}
