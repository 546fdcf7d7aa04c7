#include "app/ServerInfoDlg.h"

#include "app/DialogBuilder.h"
#include "format/Cp1252.h"
#include "lattix/model/CellData.h"
#include "lattix/view/StringCol.h"
#include "panlo/ControlId.h"
#include "query/Server.h"

#include <QFontMetrics>
#include <QPushButton>

#include <algorithm>

using namespace Lattix;
using Kind = CDialogBuilder::Kind;

namespace {

// The most characters of a server's name that the title shows.
constexpr int kTitleChars = 80;

// Keeps both columns usable when one text is absurdly long: each column keeps its own width
// while both fit, and a column that would crowd the other out gives way, down to half of
// the room.
void ShareWidth(CTableCtrl& grid)
{
    const int room = std::max(1, grid.GetBodyWidth());
    const int variable = grid.GetColumnWidth(0);
    const int value = grid.GetColumnWidth(1);
    const int keep = std::min(variable, std::max(room - value, room / 2));
    grid.SetColumnWidth(0, keep);
    grid.SetColumnWidth(1, std::min(value, std::max(room - keep, room / 2)));
}

} // namespace

CServerInfoDlg::CServerInfoDlg(const CServer& server, QWidget* parent) : QDialog(parent)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    const CDialogUnits units(font());
    CDialogBuilder builder(*this, units);
    builder.Add({IDC_VARIABLES, Kind::Placeholder, nullptr, {5, 5, 211, 177}});
    auto* close = static_cast<QPushButton*>(
        builder.Add({2, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Close"), {167, 185, 50, 14}}));
    connect(close, &QPushButton::clicked, this, &CServerInfoDlg::reject);
    resize(builder.Pixels(QRect(0, 0, 221, 201)).size());

    m_grid.CreateFromControl(IDC_VARIABLES, this);
    m_grid.SetColumnCount(0);
    const CStringCol text(0x8924);
    m_grid.AddColumn(text, tr("Variable").toUtf8().constData(), 0);
    m_grid.AddColumn(text, tr("Value").toUtf8().constData(), 0);
    m_grid.CreateRowLayout();

    m_resizer.Attach(this);
    m_resizer.Add(&m_grid, CResizer::kRightMoves | CResizer::kBottomMoves);
    m_resizer.Add(close, CResizer::kLeftMoves | CResizer::kRightMoves | CResizer::kTopMoves |
                             CResizer::kBottomMoves);

    // A server names itself: a name of thousands of characters would make a title that no
    // window manager can show. The cells keep the whole text.
    const QFontMetrics metrics(font());
    setWindowTitle(metrics.elidedText(QString::fromStdString(Cp1252ToUtf8(server.name)),
                                      Qt::ElideRight, kTitleChars * metrics.averageCharWidth()));
    for (const ServerVar& var : server.vars) {
        CRowData* row = m_grid.AddRow();
        row->GetCell(0)->Set(Cp1252ToUtf8(var.key));
        row->GetCell(1)->Set(Cp1252ToUtf8(var.value));
    }
    m_grid.Sort(std::vector<CSortKey>{{0, false}});
    m_grid.AutoSizeColumns(false);
    ShareWidth(m_grid);
    m_grid.FitColumnsToWindow();
    m_grid.Update(true);
}

void CServerInfoDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_resizer.Resize();
}
