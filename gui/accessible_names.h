#pragma once

class QWidget;

// Outside tools (screen readers, UI test drivers) address every control by
// its layout name: each named widget under root, and root itself, is
// described by its object name. A group box is named by its title, since
// without a name of its own a nested box is named after the box around it.
void DescribeByObjectName(QWidget *root);
