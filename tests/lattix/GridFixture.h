#pragma once

#include "lattix/model/CellData.h"
#include "lattix/view/BoolCol.h"
#include "lattix/view/IntCol.h"
#include "lattix/view/Notify.h"
#include "lattix/view/StringCol.h"
#include "lattix/view/StringOut.h"
#include "lattix/view/TableCtrl.h"
#include "lattix/view/TextFlags.h"
#include "velk/PopupMenu.h"
#include "velk/VelkNotify.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace LattixTest {

using namespace Lattix;

// One notification as the parent received it.
struct Received
{
    int code = 0;
    int row = -1;
    int col = -1;
    int command = 0;
    friend bool operator==(const Received&, const Received&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Received& r)
{
    return out << "{" << r.code << ", row " << r.row << ", col " << r.col << ", cmd " << r.command
               << "}";
}

// The grid's parent: records every notification and answers with the results it is told.
class RecordingParent : public QWidget, public CNotifyTarget, public CVelkNotifyTarget
{
public:
    // The bottom tabs' notifications, which reach the grid's parent as from the grid.
    std::intptr_t OnVelkNotify(VelkNMHDR& header) override
    {
        tabs.emplace_back(header.hwndFrom, header.idFrom, header.code);
        return 0;
    }
    std::intptr_t OnNotify(NMTABLECTRL& n) override
    {
        log.push_back({n.hdr.code, n.nRow, n.nColumn, n.nCommand});
        last = n;
        if (onNotify)
            onNotify(n);
        const auto it = results.find(n.hdr.code);
        return it == results.end() ? 0 : it->second;
    }
    std::intptr_t OnKeyNotify(NMKEY& key) override
    {
        keys.push_back(key.nVKey);
        return keyResult;
    }

    // Codes of the recorded notifications in order, without focus and capture ones.
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const Received& r : log) {
            if (r.code != NM_SETFOCUS && r.code != NM_KILLFOCUS && r.code != NM_RELEASEDCAPTURE)
                codes.push_back(r.code);
        }
        return codes;
    }

    std::vector<Received> log;
    std::vector<std::tuple<QWidget*, int, int>> tabs; // sender, id, code
    NMTABLECTRL last;
    std::map<int, std::intptr_t> results;
    std::vector<unsigned> keys;
    std::intptr_t keyResult = 0;
    std::function<void(NMTABLECTRL&)> onNotify;
};

// A popup menu that records what it was asked to show and chooses the item with a given
// command id instead of waiting for a user.
class ScriptedMenu : public CPopupMenu
{
public:
    struct Script
    {
        unsigned choose = 0;
        // Runs while a menu is open, as queued work of the program would.
        std::function<void()> whileOpen;
        // The menus shown, each as its lines: text, "(off)" when disabled, "(x)" when
        // checked, and the lines of a submenu indented by two spaces.
        std::vector<std::vector<std::string>> shown;
    };

    explicit ScriptedMenu(Script& script) : m_script(script) {}

    static void Describe(const QMenu& menu, const std::string& indent,
                         std::vector<std::string>& lines)
    {
        for (QAction* action : menu.actions()) {
            if (action->isSeparator()) {
                lines.push_back(indent + "-");
                continue;
            }
            std::string line = indent + action->text().toStdString();
            if (!action->isEnabled())
                line += " (off)";
            if (action->isChecked())
                line += " (x)";
            lines.push_back(line);
            if (action->menu())
                Describe(*action->menu(), indent + "  ", lines);
        }
    }

protected:
    QAction* ExecMenu(QMenu& menu, const QPoint&, QWidget*) override
    {
        std::vector<std::string> lines;
        Describe(menu, "", lines);
        m_script.shown.push_back(lines);
        if (m_script.whileOpen)
            m_script.whileOpen();
        return Find(menu, m_script.choose);
    }

private:
    static QAction* Find(QMenu& menu, unsigned id)
    {
        for (QAction* action : menu.actions()) {
            if (action->menu()) {
                if (QAction* inner = Find(*action->menu(), id))
                    return inner;
            } else if (!action->isSeparator() && action->isEnabled() &&
                       action->data().toUInt() == id) {
                return action;
            }
        }
        return nullptr;
    }

    Script& m_script;
};

// A text renderer of fixed height, so that rows are exactly kRowHeight pixels high.
class FixedHeightOut : public CStringOut
{
public:
    static constexpr int kCellHeight = 14;
    static constexpr int kRowHeight = kCellHeight + 2; // the margins

    FixedHeightOut() : CStringOut(TextFlags::kLeft, CFormat()) {}
    int GetHeight() override { return kCellHeight; }
};

constexpr unsigned kVisible = 0x10000000;

// A grid in a recording parent, with a manual clock.
class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parent.resize(640, 480);
        grid.SetClock([this] { return now; });
        grid.Menus().SetMenuFactory([this] { return std::make_unique<ScriptedMenu>(menus); });
        grid.Create(kVisible, 0, 0, 600, 400, &parent, 1001);
        parent.show();
        QApplication::setActiveWindow(&parent);
    }

    // Three columns: name (text), ping (integer), pb (boolean); rows from names.
    void AddStandardColumns()
    {
        grid.Clear();
        grid.AddColumn(CStringCol(TextFlags::kLeft), "Name", 150);
        grid.AddColumn(CIntCol(TextFlags::kRight), "Ping", 60);
        grid.AddColumn(CBoolCol(TextFlags::kCentred, "yes", "no", false), "PB", 50);
        grid.CreateRowLayout();
    }
    void AddRow(const std::string& name, int ping, bool pb)
    {
        CRowData* row = grid.AddRow();
        row->GetCell(0)->Set(name);
        row->GetCell(1)->Set(ping);
        row->GetCell(2)->Set(pb);
    }
    // n rows "row 0", "row 1", ... with ping i.
    void FillRows(int n)
    {
        for (int i = 0; i < n; ++i)
            AddRow("row " + std::to_string(i), i, i % 2 == 0);
        grid.Update(true);
    }
    // Columns of fixed-height text cells.
    void AddFixedColumns(int count, int width)
    {
        grid.Clear();
        for (int c = 0; c < count; ++c) {
            grid.AddColumn(CStringCol(TextFlags::kLeft), ("C" + std::to_string(c)).c_str(), width);
            grid.SetColumnView(c, std::make_unique<FixedHeightOut>(), nullptr,
                               ("C" + std::to_string(c)).c_str(), width);
        }
        grid.CreateRowLayout();
    }

    QPoint CellCenter(int row, int col)
    {
        const int x =
            grid.Geometry().GetColumnLeft(col) - grid.GetScrollX() + grid.GetColumnWidth(col) / 2;
        const int y = row * grid.GetRowHeight() - grid.GetScrollY() + grid.GetRowHeight() / 2;
        return {x, y};
    }
    void Click(int row, int col = 0, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(&grid.Body(), Qt::LeftButton, modifiers, CellCenter(row, col));
    }
    QPoint TitleCenter(int col)
    {
        return {grid.Geometry().GetColumnLeft(col) - grid.GetScrollX() +
                    grid.GetColumnWidth(col) / 2,
                CTableCtrl::kHeaderHeight / 2};
    }
    void ClickTitle(int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(&grid.Header(), Qt::LeftButton, modifiers, TitleCenter(col));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&grid, key, modifiers);
    }
    std::vector<int> MarkedRows() const
    {
        std::vector<int> rows;
        for (int r = 0; r < grid.GetRowCount(); ++r) {
            if (grid.IsRowMarked(r))
                rows.push_back(r);
        }
        return rows;
    }
    std::vector<std::string> Column(int col) const
    {
        std::vector<std::string> texts;
        for (int r = 0; r < grid.GetRowCount(); ++r)
            texts.push_back(grid.GetCellText(r, col));
        return texts;
    }
    // Opens the body menu over a cell and chooses command.
    void BodyMenu(int row, int col, unsigned command)
    {
        menus.choose = command;
        grid.Menus().ShowBodyMenu(CellCenter(row, col));
    }
    void HeaderMenu(int col, unsigned command)
    {
        menus.choose = command;
        grid.Menus().ShowHeaderMenu(TitleCenter(col));
    }
    // The tooltip that widget shows for pos; "" when it shows none.
    static std::string TipAt(QWidget& widget, QPoint pos)
    {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, pos, widget.mapToGlobal(pos));
        QApplication::sendEvent(&widget, &help);
        return help.isAccepted() ? QToolTip::text().toStdString() : std::string();
    }

    RecordingParent parent;
    CTableCtrl grid;
    std::int64_t now = 100000;
    ScriptedMenu::Script menus;
};

} // namespace LattixTest
