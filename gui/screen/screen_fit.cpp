#include "gui/screen/screen_fit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

class ScreenFit : public QObject
{
public:
    explicit ScreenFit(QWidget *window)
        : QObject(window)
        , m_window(window)
        , m_layoutSize(window->size())
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show && !m_watching) {
            // The native window exists from the first show on.
            m_watching = true;
            connect(m_window->windowHandle(), &QWindow::screenChanged, this, &ScreenFit::follow);
            follow(m_window->screen());
        } else if (event->type() == QEvent::WindowActivate && !m_framed) {
            // By its first activation the window manager has framed the
            // window, and the frame needs room too.
            m_framed = true;
            fit();
        }
        return false;
    }

private:
    void follow(QScreen *screen)
    {
        disconnect(m_areaChange);
        // The available area changes with the screen's resolution, its
        // scale and the panels on it.
        if (screen)
            m_areaChange = connect(screen, &QScreen::availableGeometryChanged, this, &ScreenFit::fit);
        fit();
    }

    void fit()
    {
        QScreen *screen = m_window->screen();
        if (!screen || (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
            return;
        const QRect area = screen->availableGeometry();
        // Until the window manager has framed the window there is no frame to
        // ask for, and asking costs a round trip to the display.
        const QMargins frame =
            m_framed && m_window->windowHandle() ? m_window->windowHandle()->frameMargins() : QMargins();
        const QSize size = m_layoutSize.boundedTo(area.size().shrunkBy(frame)).expandedTo(QSize(1, 1));
        m_window->resize(size);

        // The frame's top-left corner, moved as little as needed to bring the
        // whole frame onto the available area (or its top-left onto the
        // area's when the frame is larger).
        const QSize outer = size.grownBy(frame);
        const QPoint at(
            std::clamp(m_window->x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())),
            std::clamp(m_window->y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
        if (at != m_window->pos())
            m_window->move(at);
    }

    QWidget *m_window;
    QSize m_layoutSize;
    QMetaObject::Connection m_areaChange;
    bool m_watching = false;
    bool m_framed = false;
};

} // namespace

void KeepWithinScreen(QWidget *window)
{
    new ScreenFit(window);
}
