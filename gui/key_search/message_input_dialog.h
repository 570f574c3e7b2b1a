#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class MessageInputDialog;
}

// Takes one more message of the day's traffic, typed or pasted; the key
// search dialog reads it once accepted.
class MessageInputDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MessageInputDialog(QWidget *parent = nullptr);
    ~MessageInputDialog() override;

    QString text() const;

private:
    std::unique_ptr<Ui::MessageInputDialog> ui;
};
