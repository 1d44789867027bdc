#include "PhotoLoader.h"

#include <QImageReader>
#include <QTimer>

QImage readPictureToFit(const QString &file, const QSize &box)
{
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    // Decoding a large photo only to shrink it is the slow part; readers that
    // can decode at the smaller size are asked to.
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize) &&
        (size.width() > box.width() || size.height() > box.height()))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio));
    return fitted(reader.read(), box);
}

QImage fitted(const QImage &image, const QSize &box)
{
    if (image.isNull() || image.size() == image.size().scaled(box, Qt::KeepAspectRatio))
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

PhotoLoader::PhotoLoader(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    // The worker stays a while between rows rather than being made again for each.
    m_pool.setExpiryTimeout(10000);
}

PhotoLoader::~PhotoLoader()
{
    m_next.reset();
    // A decode still running finishes before the loader goes; its answer, posted
    // to the loader, goes with it.
    m_pool.waitForDone();
}

void PhotoLoader::request(const QString &file, const QSize &box)
{
    m_next = Job{file, box, ++m_ticket};
    if (m_running || m_startLater)
        return;
    // The decode starts once the window has painted what the step changed, so
    // the row is on screen before a second thread competes for the processor.
    m_startLater = true;
    QTimer::singleShot(0, this, [this] {
        m_startLater = false;
        if (m_next && !m_running)
            startNext();
    });
}

void PhotoLoader::cancel()
{
    ++m_ticket;
    m_next.reset();
}

void PhotoLoader::startNext()
{
    const Job job = *m_next;
    m_next.reset();
    m_running = true;
    m_pool.start([this, job] {
        const QImage picture = readPictureToFit(job.file, job.box);
        QMetaObject::invokeMethod(
            this, [this, job, picture] { finished(job, picture); }, Qt::QueuedConnection);
    });
}

void PhotoLoader::finished(const Job &job, const QImage &picture)
{
    m_running = false;
    if (job.ticket == m_ticket)
        emit loaded(job.file, picture);
    if (m_next)
        startNext();
}
