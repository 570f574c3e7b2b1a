#include "gui/key_search/message_input_dialog.h"
#include "ui_message_input_dialog.h"

#include <QPushButton>

#include "gui/accessible_names.h"

MessageInputDialog::MessageInputDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::MessageInputDialog>())
{
    ui->setupUi(this);
    // Qt's own button texts would be English.
    QPushButton *add = ui->MessageInputButtons->button(QDialogButtonBox::Ok);
    add->setText(QStringLiteral("&Hinzufügen"));
    add->setObjectName(QStringLiteral("MessageInputAddButton"));
    QPushButton *cancel = ui->MessageInputButtons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("&Abbrechen"));
    cancel->setObjectName(QStringLiteral("MessageInputCancelButton"));
    DescribeByObjectName(this);
    connect(ui->MessageInputButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->MessageInputButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ui->MessageInputText->setFocus();
}

MessageInputDialog::~MessageInputDialog() = default;

QString MessageInputDialog::text() const
{
    return ui->MessageInputText->toPlainText();
}
