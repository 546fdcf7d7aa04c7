#include "panlo/ControlId.h"

#include "panlo/PanloLibrary.h"

#include <QVariant>
#include <QWidget>

namespace {

[[maybe_unused]] const bool kControlIdRegistered = (RegisterPanloLibrary(), true);

// The same property the grid library reads for its placeholders.
constexpr const char* kIdProperty = "controlId";

} // namespace

void SetControlId(QWidget* control, int id)
{
    if (control)
        control->setProperty(kIdProperty, id);
}

int ControlId(const QWidget* control)
{
    if (!control)
        return -1;
    bool ok = false;
    const int id = control->property(kIdProperty).toInt(&ok);
    return ok ? id : -1;
}

QWidget* FindControl(const QWidget* parent, int id)
{
    if (!parent || id < 0)
        return nullptr;
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && ControlId(widget) == id)
            return widget;
    }
    return nullptr;
}
