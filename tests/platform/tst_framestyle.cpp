#include "platform/FrameStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

// A box's frame painted through the cache looks as the desktop's style paints it,
// wherever it stands and whatever its state.
class TestFrameStyle : public QObject
{
    Q_OBJECT
private slots:
    void sameAsTheStyle_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("state");
        QTest::newRow("at the corner") << QRect(0, 0, 120, 24) << int(QStyle::State_Enabled);
        QTest::newRow("inside, with the caret")
            << QRect(13, 7, 120, 24) << int(QStyle::State_Enabled | QStyle::State_HasFocus);
        QTest::newRow("same size, disabled") << QRect(5, 40, 120, 24) << int(QStyle::State_None);
    }
    void sameAsTheStyle()
    {
        QFETCH(QRect, rect);
        QFETCH(int, state);
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        FrameStyle cached(QStyleFactory::create(QStringLiteral("Fusion")));
        QStyleOptionFrame frame;
        frame.rect = rect;
        frame.state = QStyle::State(state);
        frame.palette = fusion->standardPalette();
        frame.lineWidth = 1;
        auto painted = [&frame](const QStyle &style) {
            QImage image(160, 80, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            style.drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter);
            return image;
        };
        const QImage expected = painted(*fusion);
        // Twice: drawn into the cache, then copied from it.
        for (int round = 0; round < 2; ++round) {
            const QImage actual = painted(cached);
            int worst = 0;
            for (int y = 0; y < actual.height(); ++y)
                for (int x = 0; x < actual.width(); ++x) {
                    const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
                    worst = std::max({worst, std::abs(qRed(a) - qRed(e)),
                                      std::abs(qGreen(a) - qGreen(e)), std::abs(qBlue(a) - qBlue(e))});
                }
            // Smoothed edges blended in two steps may differ in the last bit.
            QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
        }
    }
};

QTEST_MAIN(TestFrameStyle)
#include "tst_framestyle.moc"
