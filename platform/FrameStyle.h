#pragma once

#include <QCache>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QProxyStyle>

#include <array>

// The desktop's style, with the frames a form repaints on every change drawn
// once for each size, state and palette and copied from then on: a line box's
// frame, and a group box with its title (a box that changes has the group box
// it stands in painted again under it). In the Fusion style their smoothed
// outlines, shaded fills and measured titles are most of what painting them
// costs. A tab page's frame is drawn as it comes: copying a picture the size
// of the page costs more than drawing its outline. Other styles may animate
// their frames, so theirs are drawn as they are.
class FrameStyle : public QProxyStyle
{
public:
    explicit FrameStyle(QStyle *base = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;

    // What a cached drawing depends on: its kind, size, state, palette and
    // direction, the fields of its own option, and for a title the font and pen.
    struct Key
    {
        int kind = 0;
        QSize size;
        int state = 0;
        qint64 palette = 0;
        int direction = 0;
        qreal ratio = 1;
        std::array<int, 8> fields{};
        QString text;
        QFont font;
        QRgb pen = 0;
        bool operator==(const Key &) const = default;
    };

private:
    bool cacheable(const QStyleOption *option, const QPainter *painter) const;
    template <class Option, class Draw>
    void paintCached(Key key, const Option &option, QPainter *painter, Draw draw) const;

    mutable QCache<Key, QPixmap> m_drawn;
};

size_t qHash(const FrameStyle::Key &key, size_t seed = 0);

// The program's look, set once before any window shows: the desktop's style
// under a FrameStyle.
void installProgramStyle();
