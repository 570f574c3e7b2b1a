#pragma once

// Drives the real main window as a person would: finds controls by their
// layout names, clicks them and answers message boxes.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "fonts.h"
#include "tform1.h"

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
        static const bool fontsInstalled = (InstallWorkbenchFonts(), true);
        Q_UNUSED(fontsInstalled);
        form = std::make_unique<TForm1>();
        form->show();
        (void)QTest::qWaitForWindowExposed(form.get());
    }

    template <typename T = QWidget>
    T *control(const char *name) const
    {
        T *widget = form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    void click(const char *name) const
    {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }

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
