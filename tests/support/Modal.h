#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

// Drives a form that the code under test opens with exec(): `drive` runs from
// inside the form's modal loop once a visible modal dialog whose object name
// is `name` is active. Call it before the code that opens the form.
class ModalDriver : public QObject
{
public:
    ModalDriver(QString name, std::function<void(QDialog *)> drive, int timeoutMs)
        : m_name(std::move(name))
        , m_drive(std::move(drive))
        , m_timeoutMs(timeoutMs)
    {
        m_elapsed.start();
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
        m_timer.start();
        pending().append(this);
    }
    ~ModalDriver() override { pending().removeAll(this); }

    // Every driver still waiting; a test's cleanup ends them so that none
    // reaches into the next test.
    static QList<ModalDriver *> &pending()
    {
        static QList<ModalDriver *> drivers;
        return drivers;
    }

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && dialog->objectName() == m_name) {
            m_timer.stop();
            m_drive(dialog);
            deleteLater();
        } else if (m_elapsed.elapsed() > m_timeoutMs) {
            m_timer.stop();
            qWarning("no modal dialog named %s opened", qPrintable(m_name));
            deleteLater();
        }
    }

    QString m_name;
    std::function<void(QDialog *)> m_drive;
    int m_timeoutMs;
    QElapsedTimer m_elapsed;
    QTimer m_timer;
};

inline void cancelPendingModals()
{
    const QList<ModalDriver *> drivers = ModalDriver::pending();
    for (ModalDriver *d : drivers)
        delete d;
}

inline void whenModalOpens(const QString &name, std::function<void(QDialog *)> drive,
                           int timeoutMs = 10000)
{
    new ModalDriver(name, std::move(drive), timeoutMs);
}

// Answers the password prompt: records its caption in `captions` and types
// `entry` (a null entry presses Cancel) as many times as the prompt stays open.
inline void answerLogin(QStringList &captions, const QString &entry, int times = 1)
{
    whenModalOpens(QStringLiteral("Login"), [&captions, entry, times](QDialog *d) {
        captions << d->windowTitle();
        auto *box = d->findChild<QLineEdit *>(QStringLiteral("txtPassword"));
        const QString button = entry.isNull() ? QStringLiteral("cmdCancel") : QStringLiteral("cmdOK");
        for (int i = 0; i < times && d->isVisible(); ++i) {
            box->clear();
            QTest::keyClicks(box, entry);
            QTest::mouseClick(d->findChild<QPushButton *>(button), Qt::LeftButton);
        }
    });
}
