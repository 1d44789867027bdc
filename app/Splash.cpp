#include "app/Splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// A picture of our own: a school crest drawn at run time.
QPixmap crest()
{
    QPixmap pix(96, 96);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.setPen(QPen(QColor(0xd4, 0xa0, 0x17), 4));
    QPolygonF shield;
    shield << QPointF(8, 8) << QPointF(88, 8) << QPointF(88, 48) << QPointF(48, 90)
           << QPointF(8, 48);
    p.drawPolygon(shield);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(30, 30), QPointF(48, 24));
    p.drawLine(QPointF(48, 24), QPointF(66, 30));
    p.drawLine(QPointF(30, 30), QPointF(30, 58));
    p.drawLine(QPointF(66, 30), QPointF(66, 58));
    p.drawLine(QPointF(48, 24), QPointF(48, 62));
    return pix;
}

} // namespace

Splash::Splash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(12);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("imgSplash"));
    image->setPixmap(crest());
    image->setAlignment(Qt::AlignCenter);

    auto *product = new QLabel(QStringLiteral("Velmoran Kolvane"), this);
    product->setObjectName(QStringLiteral("Label2"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);

    auto *rights = new QLabel(QStringLiteral("Copyright \u00A9 Velmoran. All rights reserved."), this);
    rights->setObjectName(QStringLiteral("Label1"));
    rights->setAlignment(Qt::AlignCenter);

    layout->addWidget(image);
    layout->addWidget(product);
    layout->addWidget(rights);
    setStyleSheet(QStringLiteral("Splash { background: #f4f1e8; border: 2px solid #1f4e79; }"));
    setAttribute(Qt::WA_StyledBackground, true);
    adjustSize();
    setFixedSize(qMax(width(), 420), qMax(height(), 260));
}

void Splash::placeOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect s = screen->geometry();
    move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 4);
}
