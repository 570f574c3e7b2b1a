#pragma once

// Drives the real main window as a person would: finds controls by their
// layout names, clicks them and answers message boxes.

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "gui/tform1.h"
#include "gui/workbench_style.h"

struct SeenMessage {
    bool shown = false;
    QString title;
    QString text;
    int buttonCount = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class FormDriver
{
public:
    FormDriver()
    {
        static const bool lookInstalled = (InstallWorkbenchLook(), true);
        Q_UNUSED(lookInstalled);
        form = std::make_unique<TForm1>();
        form->show();
        (void)QTest::qWaitForWindowExposed(form.get());
    }

    template<typename T = QWidget>
    T *control(const char *name) const
    {
        T *widget = form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    void click(const char *name) const { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }

    // Clicks the button and answers the message box it opens, if any.
    SeenMessage clickAndAnswer(const char *name) const
    {
        auto seen = std::make_shared<SeenMessage>();
        QTimer::singleShot(0, [seen] { answerMessageBox(seen); });
        click(name);
        QCoreApplication::processEvents(); // no answer left pending for a later click
        return *seen;
    }

    bool enabled(const char *name) const { return control(name)->isEnabled(); }

    void run(const QStringList &clicks) const
    {
        for (const QString &name : clicks)
            clickAndAnswer(qPrintable(name));
    }

    // The text a control shows, whatever kind of control it is.
    QString shown(const char *name) const
    {
        QWidget *w = control(name);
        return w
            ->property(qobject_cast<QPlainTextEdit *>(w)  ? "plainText"
                           : qobject_cast<QComboBox *>(w) ? "currentText"
                                                          : "text")
            .toString();
    }
    // Several controls' texts as one string, "|" between them.
    QString texts(const QStringList &names) const
    {
        QStringList all;
        for (const QString &name : names)
            all << shown(qPrintable(name));
        return all.join('|');
    }

    // The controls of the layout, addressed by their names.
    QList<QWidget *> named() const
    {
        QList<QWidget *> all = form->findChildren<QWidget *>();
        all.removeIf([](QWidget *w) { return w->objectName().isEmpty() || w->objectName().startsWith("qt_"); });
        return all;
    }
    // Every enabled flag in one string: the step controls that are enabled,
    // then every other named control that is not.
    QString enabledFlags() const
    {
        static const QStringList steps = {"BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6",  "BitBtn7",
                                          "BitBtn8", "BitBtn9", "Button1", "Button2", "ComboBox1"};
        QStringList on, off;
        for (QWidget *w : named()) {
            const bool step = steps.contains(w->objectName());
            if (step == w->isEnabled())
                (step ? on : off) << w->objectName();
        }
        on.sort();
        off.sort();
        return on.join(' ') + " | " + off.join(' ');
    }

    // Keys reach the focus widget of the active window; the combo box
    // completes only then.
    QWidget *focus(const char *name) const
    {
        form->activateWindow();
        QWidget *w = control(name);
        if (!QTest::qWaitForWindowActive(form.get()))
            return nullptr;
        w->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }) ? w : nullptr;
    }
    // Empties the field by keys and types into it.
    QWidget *type(const char *name, const QString &keys) const
    {
        QWidget *w = focus(name);
        if (w) {
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(w, Qt::Key_Backspace);
            QTest::keyClicks(w, keys);
        }
        return w;
    }

    const abc::WorkbenchState &state() const { return form->state(); }

    std::unique_ptr<TForm1> form;

private:
    static void answerMessageBox(const std::shared_ptr<SeenMessage> &seen)
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->shown = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->buttonCount = static_cast<int>(box->buttons().size());
        seen->icon = box->icon();
        // A second box may follow the first within the same click.
        QTimer::singleShot(0, [seen] { answerMessageBox(seen); });
        box->button(QMessageBox::Ok)->click();
    }
};
