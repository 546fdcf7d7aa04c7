#include "lattix/view/TableMimeData.h"

#include "lattix/view/TableClipboard.h"
#include "lattix/view/TableHost.h"

namespace Lattix {

namespace {
const QString kTextPlain = QStringLiteral("text/plain");
}

CTableMimeData::CTableMimeData(CTableHost& ctrl) : m_pCtrl(&ctrl) {}

QStringList CTableMimeData::formats() const
{
    return {kTextPlain};
}

bool CTableMimeData::hasFormat(const QString& mimeType) const
{
    return mimeType == kTextPlain;
}

QVariant CTableMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType != kTextPlain || !m_pCtrl)
        return QMimeData::retrieveData(mimeType, type);
    return m_pCtrl->Clipboard().Text(m_pCtrl->Clipboard().IsCopyAll());
}

} // namespace Lattix
