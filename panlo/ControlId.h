#pragma once

class QWidget;

// Dialog controls keep the numeric ids of their dialog template, so that code can name a
// control by its id the way the dialog's resource does. The id is stored on the widget
// itself; a widget that was never given one has id -1.
void SetControlId(QWidget* control, int id);
int ControlId(const QWidget* control);

// The direct child of parent that carries the id, or nullptr. Windows of their own
// (dialogs, menus) are not children in this sense.
QWidget* FindControl(const QWidget* parent, int id);
