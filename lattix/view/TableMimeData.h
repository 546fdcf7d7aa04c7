#pragma once

#include <QMimeData>
#include <QPointer>

namespace Lattix {

class CTableCtrl;

// Clipboard data of a grid's "Copy" and "Copy all": the text is made from the grid's rows
// and selection only when it is read, so that what is pasted is the selection at that
// moment. Once the grid is gone the data is empty.
class CTableMimeData : public QMimeData
{
public:
    explicit CTableMimeData(CTableCtrl& ctrl);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QPointer<CTableCtrl> m_pCtrl;
};

} // namespace Lattix
