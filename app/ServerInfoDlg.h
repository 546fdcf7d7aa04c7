#pragma once

#include "lattix/view/TableCtrl.h"
#include "panlo/Resizer.h"

#include <QDialog>

class CServer;

// Every variable that a server reported in its last status reply, one a row, sorted by
// name. Reads the record once when it opens.
class CServerInfoDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int IDC_VARIABLES = 1009;

    CServerInfoDlg(const CServer& server, QWidget* parent = nullptr);

    Lattix::CTableCtrl& Grid() { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CResizer m_resizer;
    Lattix::CTableCtrl m_grid;
};
