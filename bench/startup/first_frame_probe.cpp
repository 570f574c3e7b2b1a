// Linked beside a program's own main(): ends the process as soon as the paint
// pass that first painted the awaited widget has finished, so that the
// process's run time is its start-up up to the first frame. The awaited
// widget is the one named FIRST_FRAME_WIDGET, or else any window.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <unistd.h>

namespace {

class FirstFrameWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && awaited(watched)) {
            m_seen = true;
            // Queued, so it runs after the whole pass, the flush included.
            // _exit: tearing the window down is not part of the start.
            QMetaObject::invokeMethod(
                this, [] { ::_exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static bool awaited(QObject *watched)
    {
        if (!watched->isWidgetType())
            return false;
#ifdef FIRST_FRAME_WIDGET
        return watched->objectName() == QLatin1String(FIRST_FRAME_WIDGET);
#else
        return static_cast<QWidget *>(watched)->isWindow();
#endif
    }

    bool m_seen = false;
};

void InstallFirstFrameWatcher()
{
    QCoreApplication::instance()->installEventFilter(new FirstFrameWatcher(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstFrameWatcher)
