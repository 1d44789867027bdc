#include "FrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// Bytes of drawings kept: every box and group box of a few forms at once. The
// least recently used go first; a drawing larger than this is never kept (a
// group box that fills a window resized by dragging would make one per size).
constexpr qsizetype keptBytes = 8 * 1024 * 1024;

FrameStyle::Key keyOf(int kind, const QStyleOption &option, const QPainter &painter)
{
    FrameStyle::Key key;
    key.kind = kind;
    key.size = option.rect.size();
    key.state = int(option.state);
    key.palette = option.palette.cacheKey();
    key.direction = int(option.direction);
    key.ratio = painter.device()->devicePixelRatio();
    return key;
}

} // namespace

size_t qHash(const FrameStyle::Key &key, size_t seed)
{
    return qHashMulti(seed, key.kind, key.size, key.state, key.palette, key.text,
                      qHashRange(key.fields.begin(), key.fields.end()));
}

bool FrameStyle::cacheable(const QStyleOption *option, const QPainter *painter) const
{
    return option && !option->rect.isEmpty() && painter &&
           painter->transform().type() <= QTransform::TxTranslate &&
           baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

// Draws the option through `draw` once into a pixmap the option's size, kept
// under `key`, and copies that pixmap to where the option stands. The option
// is copied as its own type (style options have no virtual destructor) and
// drawn at the pixmap's corner with the painter's font and pen.
template <class Option, class Draw>
void FrameStyle::paintCached(Key key, const Option &option, QPainter *painter, Draw draw) const
{
    const QSize size = option.rect.size() * key.ratio;
    const qsizetype bytes = qsizetype(size.width()) * size.height() * 4;
    if (bytes > keptBytes) {
        draw(option, painter);
        return;
    }
    const QPixmap *found = m_drawn.object(key);
    if (!found) {
        auto *pixmap = new QPixmap(size);
        pixmap->setDevicePixelRatio(key.ratio);
        pixmap->fill(Qt::transparent);
        QPainter onPixmap(pixmap);
        onPixmap.setFont(painter->font());
        onPixmap.setPen(painter->pen());
        onPixmap.setBrush(painter->brush());
        onPixmap.setLayoutDirection(painter->layoutDirection());
        Option atOrigin = option;
        atOrigin.rect.moveTopLeft(QPoint(0, 0));
        draw(atOrigin, &onPixmap);
        onPixmap.end();
        found = pixmap;
        m_drawn.insert(key, pixmap, bytes);
    }
    painter->drawPixmap(option.rect.topLeft(), *found);
}

void FrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const
{
    auto draw = [this, element, widget](const auto &atOrigin, QPainter *onPixmap) {
        QProxyStyle::drawPrimitive(element, &atOrigin, onPixmap, widget);
    };
    if (element == PE_FrameLineEdit && cacheable(option, painter)) {
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            Key key = keyOf(element, *frame, *painter);
            key.fields = {frame->lineWidth, frame->midLineWidth, int(frame->features),
                          int(frame->frameShape)};
            paintCached(key, *frame, painter, draw);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                    QPainter *painter, const QWidget *widget) const
{
    if (control == CC_GroupBox && cacheable(option, painter)) {
        if (const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option)) {
            Key key = keyOf(int(PE_CustomBase) + int(control), *box, *painter);
            key.fields = {int(box->subControls), int(box->activeSubControls), int(box->features),
                          int(box->textAlignment), int(box->textColor.rgba()), box->lineWidth,
                          box->midLineWidth};
            key.text = box->text;
            key.font = painter->font();
            key.pen = painter->pen().color().rgba();
            paintCached(key, *box, painter,
                        [this, widget](const QStyleOptionGroupBox &atOrigin, QPainter *onPixmap) {
                            QProxyStyle::drawComplexControl(CC_GroupBox, &atOrigin, onPixmap,
                                                            widget);
                        });
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

FrameStyle::FrameStyle(QStyle *base) : QProxyStyle(base), m_drawn(keptBytes) {}

void installProgramStyle()
{
    if (!dynamic_cast<FrameStyle *>(QApplication::style()))
        QApplication::setStyle(
            new FrameStyle(QStyleFactory::create(QApplication::style()->name())));
}
