#include "platform/FrameStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

// What the cache paints looks as the desktop's style paints it, wherever it
// stands and whatever its state. One style serves every row, in order, so a
// row drawn the same size as one before it is copied from the cache unless
// something it depends on differs.
class TestFrameStyle : public QObject
{
    Q_OBJECT
    std::unique_ptr<QStyle> m_fusion{QStyleFactory::create(QStringLiteral("Fusion"))};
    FrameStyle m_cached{QStyleFactory::create(QStringLiteral("Fusion"))};
    // One palette for every drawing, as a widget's stays from paint to paint.
    const QPalette m_palette = m_fusion->standardPalette();

    QImage painted(const QStyle &style, const QRect &rect, int state, const QString &title)
    {
        QImage image(240, 120, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        if (title.isNull()) {
            QStyleOptionFrame frame;
            frame.rect = rect;
            frame.state = QStyle::State(state);
            frame.palette = m_palette;
            frame.lineWidth = 1;
            style.drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter);
        } else {
            QStyleOptionGroupBox box;
            box.rect = rect;
            box.state = QStyle::State(state);
            box.palette = m_palette;
            box.text = title;
            box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            box.textAlignment = Qt::AlignLeft;
            box.fontMetrics = painter.fontMetrics();
            style.drawComplexControl(QStyle::CC_GroupBox, &box, &painter);
        }
        return image;
    }

private slots:
    void sameAsTheStyle_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("title");
        const int enabled = QStyle::State_Enabled;
        QTest::newRow("box frame at the corner") << QRect(0, 0, 120, 24) << enabled << QString();
        QTest::newRow("box frame inside, with the caret")
            << QRect(13, 7, 120, 24) << int(enabled | QStyle::State_HasFocus) << QString();
        QTest::newRow("box frame same size, disabled")
            << QRect(5, 40, 120, 24) << int(QStyle::State_None) << QString();
        // A group box paints itself at its own corner.
        QTest::newRow("group titled") << QRect(0, 0, 200, 90) << enabled << QStringLiteral("Action");
        QTest::newRow("group same size, other title")
            << QRect(0, 0, 200, 90) << enabled << QStringLiteral("Initial total records = 12");
        QTest::newRow("group same size and title, disabled")
            << QRect(0, 0, 200, 90) << int(QStyle::State_None)
            << QStringLiteral("Initial total records = 12");
    }
    void sameAsTheStyle()
    {
        QFETCH(QRect, rect);
        QFETCH(int, state);
        QFETCH(QString, title);
        const QImage expected = painted(*m_fusion, rect, state, title);
        // Twice: the first may be drawn into the cache, the second is copied from it.
        for (int round = 0; round < 2; ++round) {
            const QImage actual = painted(m_cached, rect, state, title);
            int worst = 0;
            for (int y = 0; y < actual.height(); ++y)
                for (int x = 0; x < actual.width(); ++x) {
                    const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(e)),
                                      std::abs(qGreen(a) - qGreen(e)), std::abs(qBlue(a) - qBlue(e))});
                }
            // Smoothed edges and text blended in two steps may differ in the last bits.
            QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
        }
    }
};

QTEST_MAIN(TestFrameStyle)
#include "tst_framestyle.moc"
