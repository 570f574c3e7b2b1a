#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QKeyEvent;
class QScrollBar;
class QWidget;

// Lets a window whose controls stand at fixed places be smaller than its
// layout: scroll bars appear along the right and bottom edges, and the
// window's children move under them as a scroll area's content would. The
// controls keep their parents, so the accessibility tree stays as it is, and
// at full size nothing is drawn that was not drawn before.
//
// Scrolls by the bars, the wheel, Page Up/Down and the arrow keys that no
// control takes, and shows each control that the keyboard gives the focus.
class ContentScroller : public QObject
{
public:
    // The window's size when this is made is taken as the layout's size.
    explicit ContentScroller(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Scrolls as little as needed to show the widget whole, or from its
    // top-left corner when it is larger than the view.
    void ensureVisible(const QWidget *widget);
    void placeBars();
    void scrollTo(QPoint offset);
    bool scrollByKey(const QKeyEvent *key);

    QWidget *m_window;
    QSize m_layoutSize;
    QScrollBar *m_horizontal;
    QScrollBar *m_vertical;
    QWidget *m_corner; // fills the square between the bars
    QPoint m_offset; // of the view in the layout
    QSize m_view;
};
