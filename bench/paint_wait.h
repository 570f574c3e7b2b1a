#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

// Waits for the first paint of one widget: runs the event loop until the
// paint pass that painted it has ended, the flush to the window included.
class PaintWaiter : public QObject
{
public:
    explicit PaintWaiter(QObject *watched) { watched->installEventFilter(this); }

    // False on timeout.
    bool wait(int timeoutMs = 10000)
    {
        if (m_passDone)
            return true;
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
        return m_passDone;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Queued: runs once the pass that sent this event has finished.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_passDone = true;
                    if (m_loop)
                        m_loop->quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QEventLoop *m_loop = nullptr;
    bool m_painted = false;
    bool m_passDone = false;
};
