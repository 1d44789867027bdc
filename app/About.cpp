#include "app/About.h"

#include "app/AppState.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace {

constexpr int MajorVersion = KOLVANE_VERSION_MAJOR;
constexpr int MinorVersion = KOLVANE_VERSION_MINOR;

// The box's picture: a schoolhouse with its bell under a blue sky.
QPixmap schoolhouse(int size)
{
    QPixmap pix(size, size);
    pix.fill(QColor(0x9c, 0xc3, 0xe6));
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 16.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4f, 0x8a, 0x3c));
    p.drawRect(QRectF(0, 13 * u, size, 3 * u));
    p.setBrush(QColor(0xb0, 0x3a, 0x2e));
    p.drawRect(QRectF(3 * u, 7 * u, 10 * u, 6.5 * u));
    p.setBrush(QColor(0x17, 0x3a, 0x5c));
    p.drawPolygon(QPolygonF{{2 * u, 7.5 * u}, {8 * u, 3 * u}, {14 * u, 7.5 * u}});
    p.drawRect(QRectF(7.2 * u, 1 * u, 1.6 * u, 2.6 * u));
    p.setBrush(QColor(0xd4, 0xa0, 0x17));
    p.drawEllipse(QPointF(8 * u, 2.4 * u), 0.55 * u, 0.55 * u);
    p.setBrush(QColor(0xf5, 0xe6, 0xb8));
    for (qreal x : {4.2, 10.4})
        p.drawRect(QRectF(x * u, 8.5 * u, 1.6 * u, 1.6 * u));
    p.setBrush(QColor(0x5a, 0x36, 0x1e));
    p.drawRect(QRectF(7 * u, 9.5 * u, 2 * u, 4 * u));
    return pix;
}

} // namespace

About::About(AppState &state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(tr("About Kolvane"));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(schoolhouse(96));
    picture->setAlignment(Qt::AlignTop);

    auto *title = new QLabel(QStringLiteral("Kolvane"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);

    auto *version = new QLabel(QStringLiteral("Ver. %1.%2").arg(MajorVersion).arg(MinorVersion), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto *description = new QLabel(
        tr("Kolvane keeps the records of a kindergarten, nursery, primary or secondary (high) school: "
           "its students, staff, stock and accounts. It bills each term's fees, answers questions "
           "about the records, and prints reports from what it finds."),
        this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(340);

    auto *rights = new QLabel(QStringLiteral("Copyright \u00A9 Velmoran. All rights reserved."), this);
    rights->setObjectName(QStringLiteral("lblPOBox"));

    auto *sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picture, 0, 0, 4, 1);
    grid->addWidget(title, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(description, 2, 1);
    grid->setRowMinimumHeight(3, 8);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 4, 0, 1, 2);
    grid->addWidget(rights, 5, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    grid->addLayout(buttons, 6, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, &About::StartSysInfo);
    ok->setFocus();
}

QStringList About::systemInfoPrograms()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager")};
}

void About::StartSysInfo()
{
    for (const QString &name : systemInfoPrograms()) {
        const QString program = QStandardPaths::findExecutable(name);
        if (program.isEmpty())
            continue;
        // A tool that fails to start leaves the next one its chance.
        if (QProcess::startDetached(program, {}))
            return;
    }
    m_state.services.messages.ok(QStringLiteral("System Information Is Unavailable At This Time"));
}
