#include "FrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>


void FrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    const bool cached = element == PE_FrameLineEdit && option && !option->rect.isEmpty() &&
                        painter->transform().type() <= QTransform::TxTranslate &&
                        baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
    if (!cached) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatio();
    const QString key = QStringLiteral("kolvane-frame-%1x%2-%3-%4-%5")
                            .arg(option->rect.width())
                            .arg(option->rect.height())
                            .arg(int(option->state))
                            .arg(option->palette.cacheKey())
                            .arg(ratio);
    QPixmap frame;
    if (!QPixmapCache::find(key, &frame)) {
        frame = QPixmap(option->rect.size() * ratio);
        frame.setDevicePixelRatio(ratio);
        frame.fill(Qt::transparent);
        QPainter onFrame(&frame);
        // The same option, drawn at the pixmap's corner. Style options have no
        // virtual destructor, so each kind is copied into its own variable.
        QStyleOptionFrame boxFrame;
        QStyleOption plain;
        QStyleOption *atOrigin = &plain;
        if (const auto *given = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            boxFrame = *given;
            atOrigin = &boxFrame;
        } else {
            plain = *option;
        }
        atOrigin->rect.moveTopLeft(QPoint(0, 0));
        QProxyStyle::drawPrimitive(element, atOrigin, &onFrame, widget);
        onFrame.end();
        QPixmapCache::insert(key, frame);
    }
    painter->drawPixmap(option->rect.topLeft(), frame);
}

void installFrameStyle()
{
    if (dynamic_cast<FrameStyle *>(QApplication::style()))
        return;
    QApplication::setStyle(new FrameStyle(QStyleFactory::create(QApplication::style()->name())));
}
