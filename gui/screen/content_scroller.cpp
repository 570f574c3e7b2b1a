#include "gui/screen/content_scroller.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

#include "gui/accessible_names.h"

namespace {

// Room left around a control that is scrolled into view, where there is room.
constexpr int ViewMargin = 8;

// The start of a view along one axis that shows [start, start + length).
int ViewStartShowing(int start, int length, int viewStart, int viewLength)
{
    const int margin = std::clamp((viewLength - length) / 2, 0, ViewMargin);
    if (length > viewLength || start - margin < viewStart)
        return start - margin;
    if (start + length + margin > viewStart + viewLength)
        return start + length + margin - viewLength;
    return viewStart;
}

} // namespace

ContentScroller::ContentScroller(QWidget *window, QWidget *pinned)
    : QObject(window)
    , m_window(window)
    , m_pinned(pinned)
    , m_layoutSize(window->size())
    , m_pinnedPlace(pinned ? pinned->geometry() : QRect())
    , m_view(window->size())
{
    // Only moves within the window: when the window becomes active again its
    // focus returns, and the view stays where the user left it. A click gives
    // the focus while the button is down: scrolling then would move the
    // control away from under the pointer.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (old && now && now != m_window && old->window() == m_window && now->window() == m_window
            && m_window->isVisible() && QGuiApplication::mouseButtons() == Qt::NoButton)
            show(now);
    });
    window->installEventFilter(this);
}

void ContentScroller::makeBars()
{
    m_horizontal = new QScrollBar(Qt::Horizontal, m_window);
    m_vertical = new QScrollBar(Qt::Vertical, m_window);
    m_corner = new QWidget(m_window);
    m_horizontal->setObjectName(QStringLiteral("HorzScrollBar"));
    m_horizontal->setAccessibleName(QStringLiteral("Bildlauf waagerecht"));
    m_vertical->setObjectName(QStringLiteral("VertScrollBar"));
    m_vertical->setAccessibleName(QStringLiteral("Bildlauf senkrecht"));
    DescribeByObjectName(m_horizontal);
    DescribeByObjectName(m_vertical);
    m_corner->setAutoFillBackground(true);
    for (QWidget *part : {static_cast<QWidget *>(m_horizontal), static_cast<QWidget *>(m_vertical), m_corner}) {
        // Tab visits the controls only; the keys below scroll instead.
        part->setFocusPolicy(Qt::NoFocus);
        part->hide();
    }
    for (QScrollBar *bar : {m_horizontal, m_vertical}) {
        bar->setSingleStep(20);
        connect(bar, &QScrollBar::valueChanged, this,
                [this] { scrollTo(QPoint(m_horizontal->value(), m_vertical->value())); });
    }
}

bool ContentScroller::isPart(const QWidget *widget) const
{
    return widget == m_horizontal || widget == m_vertical || widget == m_corner || widget == m_pinned;
}

int ContentScroller::contentHeight() const
{
    const bool pinnedAbove = m_pinned && m_vertical && m_vertical->isVisible();
    return m_view.height() - (pinnedAbove ? m_pinnedPlace.height() : 0);
}

void ContentScroller::show(const QWidget *widget)
{
    // Nothing to scroll while the layout fits; the pinned line is always seen.
    if (!m_horizontal || (m_pinned && (widget == m_pinned || m_pinned->isAncestorOf(widget))))
        return;
    const QRect target(widget->mapTo(m_window, QPoint()) + m_offset, widget->size());
    m_horizontal->setValue(ViewStartShowing(target.x(), target.width(), m_offset.x(), m_view.width()));
    m_vertical->setValue(ViewStartShowing(target.y(), target.height(), m_offset.y(), contentHeight()));
}

bool ContentScroller::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::StyleChange:
        placeBars();
        break;
    case QEvent::Wheel: {
        // Wheel turns that no control took.
        const QPoint delta = static_cast<QWheelEvent *>(event)->angleDelta();
        QScrollBar *bar = std::abs(delta.x()) > std::abs(delta.y()) ? m_horizontal : m_vertical;
        if (bar && bar->isVisible()) {
            QCoreApplication::sendEvent(bar, event);
            return event->isAccepted();
        }
        break;
    }
    case QEvent::KeyPress:
        return scrollByKey(static_cast<QKeyEvent *>(event));
    default:
        break;
    }
    return false;
}

bool ContentScroller::scrollByKey(const QKeyEvent *key)
{
    // Keys that no control took.
    QScrollBar *bar = m_vertical;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    if (key->matches(QKeySequence::MoveToPreviousPage)) {
        action = QAbstractSlider::SliderPageStepSub;
    } else if (key->matches(QKeySequence::MoveToNextPage)) {
        action = QAbstractSlider::SliderPageStepAdd;
    } else if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
        switch (key->key()) {
        case Qt::Key_Up:
            action = QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_Down:
            action = QAbstractSlider::SliderSingleStepAdd;
            break;
        case Qt::Key_Left:
            bar = m_horizontal;
            action = QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_Right:
            bar = m_horizontal;
            action = QAbstractSlider::SliderSingleStepAdd;
            break;
        default:
            break;
        }
    }
    if (action == QAbstractSlider::SliderNoAction || !bar || !bar->isVisible())
        return false;
    bar->triggerAction(action);
    return true;
}

void ContentScroller::placeBars()
{
    const QSize size = m_window->size();
    // Asked of the window, whose screen the bars share: the extent follows
    // the screen's resolution.
    const int extent = m_window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_window);
    // A bar along one edge takes room from the other direction.
    bool horizontal = size.width() < m_layoutSize.width();
    bool vertical = size.height() < m_layoutSize.height();
    vertical = vertical || (horizontal && size.height() - extent < m_layoutSize.height());
    horizontal = horizontal || (vertical && size.width() - extent < m_layoutSize.width());
    vertical = vertical || (horizontal && size.height() - extent < m_layoutSize.height());
    if (!m_horizontal && !horizontal && !vertical)
        return;
    if (!m_horizontal)
        makeBars();

    m_view = QSize(std::max(0, size.width() - (vertical ? extent : 0)),
                   std::max(0, size.height() - (horizontal ? extent : 0)));
    m_horizontal->setGeometry(0, size.height() - extent, m_view.width(), extent);
    m_vertical->setGeometry(size.width() - extent, 0, extent, m_view.height());
    m_corner->setGeometry(m_view.width(), m_view.height(), extent, extent);
    m_horizontal->setRange(0, std::max(0, m_layoutSize.width() - m_view.width()));
    m_vertical->setRange(0, std::max(0, m_layoutSize.height() - m_view.height()));
    m_horizontal->setPageStep(std::max(1, m_view.width()));
    m_vertical->setPageStep(std::max(1, contentHeight()));

    // Above the content, which moves under them.
    m_horizontal->setVisible(horizontal);
    m_vertical->setVisible(vertical);
    m_corner->setVisible(horizontal && vertical);
    for (QWidget *part : {static_cast<QWidget *>(m_horizontal), static_cast<QWidget *>(m_vertical), m_corner})
        part->raise();
    scrollTo(QPoint(m_horizontal->value(), m_vertical->value()));
    placePinned();
}

void ContentScroller::placePinned()
{
    if (!m_pinned)
        return;
    // Sideways it moves with the content, so that every panel can be
    // reached; downwards it stays at the bottom of the view.
    const int y = std::min(m_pinnedPlace.y(), m_view.height() - m_pinnedPlace.height());
    m_pinned->move(m_pinnedPlace.x() - m_offset.x(), y);
    if (y != m_pinnedPlace.y()) {
        // Over the content, which scrolls under it and must not show through.
        m_pinned->setAutoFillBackground(true);
        m_pinned->raise();
    }
}

void ContentScroller::scrollTo(QPoint offset)
{
    const QPoint delta = m_offset - offset;
    if (delta.isNull())
        return;
    m_offset = offset;
    for (QObject *child : m_window->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isWindow() && !isPart(widget))
            widget->move(widget->pos() + delta);
    }
    placePinned();
}
