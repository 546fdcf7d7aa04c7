#include "lattix/view/WaitCursor.h"

#include <QApplication>

namespace Lattix {

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace Lattix
