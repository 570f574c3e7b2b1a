#include "gui/accessible_names.h"

#include <QGroupBox>
#include <QWidget>

void DescribeByObjectName(QWidget *root)
{
    root->setAccessibleDescription(root->objectName());
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        // Qt's own parts (qt_ names) are not the layout's controls.
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
            widget->setAccessibleDescription(widget->objectName());
    }
    for (QGroupBox *box : root->findChildren<QGroupBox *>())
        box->setAccessibleName(box->title());
}
