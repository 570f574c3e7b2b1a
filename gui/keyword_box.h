#pragma once

#include <QObject>

#include <functional>

class QComboBox;
class QEvent;

// The keyword box's typing rules: typed characters pass the key filter
// (letters become capitals, the rest is dropped), the text is no longer than
// a key may be, and what is typed completes from the box's list.
//
// Watches the box's typed keys and hands each to the window's key-press
// handler, which answers with type() or leaves the key to the box.
class KeywordBox : public QObject
{
    Q_OBJECT

public:
    using KeyPressHandler = std::function<bool(QEvent *event)>;

    KeywordBox(QComboBox *box, KeyPressHandler keyPress);

    // Types a key press or an input method's commit into the box by the
    // rules above; false for keys that are no typed text.
    bool type(QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void typeCharacter(QChar ch);

    QComboBox *m_box;
    KeyPressHandler m_keyPress;
};
