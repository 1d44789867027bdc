#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <optional>

// A picture read from `file` to fit `box`, decoded at that size where the
// format can; a null image when the file does not read as a picture.
QImage readPictureToFit(const QString &file, const QSize &box);
// The image scaled, up or down, to fit `box`.
QImage fitted(const QImage &image, const QSize &box);

// Decodes photos on a worker thread so that moving between records never waits
// for one. Only the latest request is answered: holding Next down over a
// thousand rows decodes the photo of the row it stops on, not a thousand.
class PhotoLoader : public QObject
{
    Q_OBJECT
public:
    explicit PhotoLoader(QObject *parent = nullptr);
    ~PhotoLoader() override;

    void request(const QString &file, const QSize &box);
    // The request still open is not wanted any more (the row changed, the photo was replaced).
    void cancel();
    // A decode is running or waiting.
    bool busy() const { return m_running || m_next.has_value(); }

signals:
    // On the thread of the loader; `picture` is null when the file could not be read.
    void loaded(const QString &file, const QImage &picture);

private:
    struct Job
    {
        QString file;
        QSize box;
        quint64 ticket = 0;
    };
    void startNext();
    void finished(const Job &job, const QImage &picture);

    QThreadPool m_pool;
    std::optional<Job> m_next;
    quint64 m_ticket = 0;
    bool m_running = false;
    bool m_startLater = false;
};
