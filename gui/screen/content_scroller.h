#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QKeyEvent;
class QScrollBar;
class QWidget;

// Lets a window whose controls stand at fixed places be smaller than its
// layout: scroll bars appear along the right and bottom edges, and the
// window's children move under them as a scroll area's content would. The
// controls keep their parents, so the accessibility tree stays as it is, and
// at full size nothing is drawn that was not drawn before; the bars are made
// only when the window is first too small for its layout.
//
// A status line given as `pinned` stays at the bottom of the view while the
// content scrolls up and down under it, so that it is always in sight;
// sideways it moves with the content.
//
// Scrolls by the bars, the wheel, Page Up/Down and the arrow keys that no
// control takes, shows each control that the keyboard gives the focus, and
// shows what the program asks for with show().
class ContentScroller : public QObject
{
public:
    // The window's size when this is made is taken as the layout's size.
    explicit ContentScroller(QWidget *window, QWidget *pinned = nullptr);

    // Scrolls as little as needed to show the widget whole, or from its
    // top-left corner when it is larger than the view.
    void show(const QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeBars();
    void placeBars();
    void placePinned();
    void scrollTo(QPoint offset);
    bool scrollByKey(const QKeyEvent *key);
    bool isPart(const QWidget *widget) const;
    // The view's height that the content shows in, above a pinned line.
    int contentHeight() const;

    QWidget *m_window;
    QWidget *m_pinned;
    QSize m_layoutSize;
    QRect m_pinnedPlace; // the pinned line's place in the layout
    QScrollBar *m_horizontal = nullptr;
    QScrollBar *m_vertical = nullptr;
    QWidget *m_corner = nullptr; // fills the square between the bars
    QPoint m_offset;             // of the view in the layout
    QSize m_view;
};
