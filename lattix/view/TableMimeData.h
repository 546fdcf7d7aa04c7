#pragma once

#include "lattix/view/TableHost.h"
#include <QMimeData>

namespace Lattix {

// Clipboard data of a grid's "Copy" and "Copy all": the text is made from the grid's rows
// and selection only when it is read, so that what is pasted is the selection at that
// moment. Once the grid is gone the data is empty.
class CTableMimeData : public QMimeData
{
public:
    explicit CTableMimeData(CTableHost& ctrl);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    CHostPointer m_pCtrl;
};

} // namespace Lattix
