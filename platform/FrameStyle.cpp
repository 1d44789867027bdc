#include "FrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>

#include <memory>

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
        std::unique_ptr<QStyleOption> atOrigin;
        if (const auto *boxFrame = qstyleoption_cast<const QStyleOptionFrame *>(option))
            atOrigin = std::make_unique<QStyleOptionFrame>(*boxFrame);
        else
            atOrigin = std::make_unique<QStyleOption>(*option);
        atOrigin->rect.moveTopLeft(QPoint(0, 0));
        QProxyStyle::drawPrimitive(element, atOrigin.get(), &onFrame, widget);
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
