#include "app/ServerInfoDlg.h"

#include "app/DialogBuilder.h"
#include "format/Cp1252.h"
#include "lattix/model/CellData.h"
#include "lattix/view/StringCol.h"
#include "panlo/ControlId.h"
#include "query/Server.h"

#include <QPushButton>

using namespace Lattix;
using Kind = CDialogBuilder::Kind;

CServerInfoDlg::CServerInfoDlg(const CServer& server, QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    const CDialogUnits units(font());
    CDialogBuilder builder(*this, units);
    builder.Add({IDC_VARIABLES, Kind::Placeholder, nullptr, {5, 5, 211, 177}});
    auto* close =
        static_cast<QPushButton*>(builder.Add({2, Kind::Button, "Close", {167, 185, 50, 14}}));
    connect(close, &QPushButton::clicked, this, &CServerInfoDlg::reject);
    resize(builder.Pixels(QRect(0, 0, 221, 201)).size());

    m_grid.CreateFromControl(IDC_VARIABLES, this);
    m_grid.SetColumnCount(0);
    const CStringCol text(0x8924);
    m_grid.AddColumn(text, "Variable", 0);
    m_grid.AddColumn(text, "Value", 0);
    m_grid.CreateRowLayout();

    m_resizer.Attach(this);
    m_resizer.Add(&m_grid, CResizer::kRightMoves | CResizer::kBottomMoves);
    m_resizer.Add(close, CResizer::kLeftMoves | CResizer::kRightMoves | CResizer::kTopMoves |
                             CResizer::kBottomMoves);

    setWindowTitle(QString::fromStdString(Cp1252ToUtf8(server.name)));
    for (const ServerVar& var : server.vars) {
        CRowData* row = m_grid.AddRow();
        row->GetCell(0)->Set(Cp1252ToUtf8(var.key));
        row->GetCell(1)->Set(Cp1252ToUtf8(var.value));
    }
    m_grid.Sort(std::vector<CSortKey>{{0, false}});
    m_grid.AutoSizeColumns(false);
    m_grid.FitColumnsToWindow();
    m_grid.Update(true);
}

void CServerInfoDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_resizer.Resize();
}
