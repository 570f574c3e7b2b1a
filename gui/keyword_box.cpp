#include "gui/keyword_box.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "base/windows1252_text.h"
#include "engine/column_key.h"

namespace {

// What the key filter lets through of typed text, character by character.
QString FilterTypedText(const QString &typed)
{
    QString filtered;
    for (const char byte : ToWindows1252(typed)) {
        if (const int code = abc::FilterKeyChar(static_cast<unsigned char>(byte)))
            filtered += QChar(code);
    }
    return filtered;
}

} // namespace

KeywordBox::KeywordBox(QComboBox *box, KeyPressHandler keyPress)
    : m_box(box)
    , m_keyPress(std::move(keyPress))
{
    box->lineEdit()->setMaxLength(abc::MaxKeyLength);
    // Completion follows the keyword rules in typeCharacter(); Qt's own
    // completer would also rewrite a keyword into the list's capitals when
    // the field loses focus.
    box->setCompleter(nullptr);
    box->installEventFilter(this);
}

bool KeywordBox::eventFilter(QObject *watched, QEvent *event)
{
    // The combo box hands typed keys straight to its line edit, so they are
    // filtered here, before the line edit and its completion see them.
    if (watched == m_box && (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod))
        return m_keyPress(event);
    return QObject::eventFilter(watched, event);
}

bool KeywordBox::type(QEvent *event)
{
    QString typed;
    if (event->type() == QEvent::InputMethod) {
        typed = static_cast<QInputMethodEvent *>(event)->commitString();
        if (typed.isEmpty())
            return false; // composing only
    } else {
        auto *key = static_cast<QKeyEvent *>(event);
        typed = key->text();
        // Keys without text (arrows, F4, Home), focus keys, Delete and editing
        // shortcuts (Ctrl+C, Ctrl+V, ...) are no typed characters.
        if (typed.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
            || key->key() == Qt::Key_Delete || (key->modifiers() & Qt::ControlModifier))
            return false;
    }

    const QString filtered = FilterTypedText(typed);
    for (const QChar ch : filtered)
        typeCharacter(ch);
    return true;
}

void KeywordBox::typeCharacter(QChar ch)
{
    // Completion from the list: the typed text so far joined with the new
    // character is looked up without regard to case, and the first item that
    // begins with it is shown with the rest selected.
    QLineEdit *edit = m_box->lineEdit();
    if (ch == QLatin1Char('\b')) {
        edit->backspace(); // deletes the selection or the character before the cursor
        return;
    }
    const QString joined = (edit->hasSelectedText() ? edit->text().left(edit->selectionStart()) : edit->text()) + ch;
    // Without case sensitivity in the flags the match ignores case.
    const int index = m_box->findText(joined, Qt::MatchStartsWith);
    if (index >= 0) {
        const QString item = m_box->itemText(index);
        edit->setText(item);
        edit->setSelection(static_cast<int>(joined.size()), static_cast<int>(item.size() - joined.size()));
        return;
    }
    edit->insert(QString(ch));
}
