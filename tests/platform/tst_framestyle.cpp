#include "platform/FrameStyle.h"

#include <QApplication>
#include <QFile>
#include <QGlyphRun>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>
#include <QTextLayout>

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
            const QStyleOptionGroupBox box = groupBox(rect, state, title, painter);
            style.drawComplexControl(QStyle::CC_GroupBox, &box, &painter);
        }
        return image;
    }
    QStyleOptionGroupBox groupBox(const QRect &rect, int state, const QString &title,
                                  const QPainter &painter) const
    {
        QStyleOptionGroupBox box;
        box.rect = rect;
        box.state = QStyle::State(state);
        box.palette = m_palette;
        box.text = title;
        box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        box.fontMetrics = painter.fontMetrics();
        return box;
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

    // The program's look keeps text shaping for the scripts that need it: an
    // Arabic name is laid out with its letters joined.
    void arabicStillJoins()
    {
        const QString name = QStringLiteral("\u0645\u062d\u0645\u062f");
        const auto glyphs = [&name](const QFont &font) {
            QTextLayout layout(name, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            QList<quint32> all;
            for (const QGlyphRun &run : layout.glyphRuns())
                all += run.glyphIndexes();
            return all;
        };
        const QFont shaped(QStringLiteral("DejaVu Sans"), 12);
        QApplication::setFont(shaped);
        installProgramStyle();
        QCOMPARE(glyphs(QApplication::font()), glyphs(shaped));
    }

    // A group box that fills a window being resized draws at a new size with
    // every pixel dragged; the drawings kept stay a few megabytes.
    void keptDrawingsStaySmall()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("freed memory stays in the address sanitizer's quarantine");
#endif
        const auto residentKb = [] {
            QFile statm(QStringLiteral("/proc/self/statm"));
            return statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1).toLongLong() * 4
                                                   : 0;
        };
        QImage window(1200, 900, QImage::Format_ARGB32_Premultiplied);
        const qint64 before = residentKb();
        for (int width = 1000; width < 1060; ++width) {
            QPainter painter(&window);
            const QStyleOptionGroupBox box =
                groupBox(QRect(0, 0, width, 700), QStyle::State_Enabled, QStringLiteral("Query"), painter);
            m_cached.drawComplexControl(QStyle::CC_GroupBox, &box, &painter);
        }
        const qint64 grownMb = (residentKb() - before) / 1024;
        QVERIFY2(grownMb < 20, qPrintable(QString::number(grownMb) + " MB kept"));
    }
};

QTEST_MAIN(TestFrameStyle)
#include "tst_framestyle.moc"
