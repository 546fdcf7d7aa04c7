// Figures of the grid control without a screen:
//  - a full repaint of a 1280 x 800 grid of 13 columns, with 100 and with 30,000 rows, and
//    beside it a QTableView of the same size, columns, texts and alternating backgrounds;
//  - paging through 30,000 rows: time per page, and which displays repainted;
//  - AutoSizeColumn of every column over 30,000 rows.
#include "bench/lattix/model/Workload.h"
#include "bench/lattix/view/ServerGrid.h"

#include "lattix/view/TableCtrl.h"
#include "lattix/view/TextFlags.h"

#include <QAbstractSlider>
#include <QAbstractTableModel>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableView>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace Lattix;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median of runs of f, in milliseconds.
double Median(int runs, const std::function<void()>& f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Counts the paint events of a widget.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// The server list's 13 columns for a QTableView: titles, widths, alignments.
struct ViewColumn
{
    const char* title;
    int width;
    Qt::Alignment align;
};
constexpr std::array<ViewColumn, 13> kViewColumns = {{
    {"Name", 220, Qt::AlignLeft},
    {"Type", 110, Qt::AlignLeft},
    {"Mod", 60, Qt::AlignLeft},
    {"FF", 36, Qt::AlignHCenter},
    {"Ping", 50, Qt::AlignRight},
    {"Players", 60, Qt::AlignHCenter},
    {"PB", 36, Qt::AlignHCenter},
    {"Num", 50, Qt::AlignRight},
    {"Max", 50, Qt::AlignRight},
    {"Map", 110, Qt::AlignLeft},
    {"Lives", 50, Qt::AlignRight},
    {"Address", 150, Qt::AlignLeft},
    {"Handle", 60, Qt::AlignRight},
}};

// The same rows as texts made once, as a QTableView's model would hold them.
class ServerModel : public QAbstractTableModel
{
public:
    ServerModel(const std::vector<Workload::Server>& servers, CEnum& gameTypes)
    {
        const auto yes = [](bool on) { return QStringLiteral("%1").arg(on ? "yes" : "no"); };
        for (const Workload::Server& s : servers) {
            m_cells.push_back({
                QString::fromStdString(s.name),
                QString::fromStdString(gameTypes.Get()->Lookup(s.gameType).strText),
                QString::fromStdString(s.mod),
                yes(s.friendlyFire),
                QString::number(s.ping),
                QString::fromStdString(s.playersText),
                yes(s.punkBuster),
                QString::number(s.numPlayers),
                QString::number(s.maxPlayers),
                QString::fromStdString(s.map),
                QString::number(s.maxLives),
                QString::fromStdString(s.address),
                QString::number(s.handle),
            });
        }
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_cells.size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(kViewColumns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto col = static_cast<std::size_t>(index.column());
        if (role == Qt::DisplayRole)
            return m_cells[static_cast<std::size_t>(index.row())][col];
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(kViewColumns[col].align | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QString::fromLatin1(kViewColumns[static_cast<std::size_t>(section)].title);
        return {};
    }

private:
    std::vector<std::array<QString, 13>> m_cells;
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    CEnum gameTypes("0?\n1?\n2?\n3?\n4?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint\n8?\n9?");
    QWidget window;
    window.resize(1280, 800);
    CTableCtrl grid;
    grid.Create(0x10000000, 0, 0, 1280, 800, &window, 1);
    window.show();
    QImage target(1280, 800, QImage::Format_ARGB32_Premultiplied);

    std::printf("grid 1280 x 800, 13 columns, platform %s\n",
                qPrintable(QGuiApplication::platformName()));
    for (int rows : {100, 30000}) {
        BuildServerGrid(grid, gameTypes, rows);
        const auto paint = [&] {
            QPainter painter(&target);
            grid.render(&painter);
        };
        paint(); // warm caches (fonts, glyphs)
        const double lattix = Median(200, paint);

        // A QTableView in the same place, with the same texts and alternating rows.
        ServerModel model(Workload::MakeServers(rows, 0, 7), gameTypes);
        QTableView view(&window);
        view.setGeometry(0, 0, 1280, 800);
        view.setModel(&model);
        view.setAlternatingRowColors(true);
        view.verticalHeader()->hide();
        view.verticalHeader()->setDefaultSectionSize(grid.GetRowHeight());
        for (std::size_t c = 0; c < kViewColumns.size(); ++c)
            view.setColumnWidth(static_cast<int>(c), kViewColumns[c].width);
        view.selectionModel()->select(QItemSelection(model.index(3, 0), model.index(5, 12)),
                                      QItemSelectionModel::Select);
        grid.hide();
        view.show();
        QApplication::processEvents();
        const auto paintView = [&] {
            QPainter painter(&target);
            view.render(&painter);
        };
        paintView();
        const double table = Median(200, paintView);
        view.hide();
        grid.show();
        std::printf("full repaint, %5d rows: lattix %.3f ms, QTableView %.3f ms, ratio %.2f "
                    "(medians of 200)\n",
                    rows, lattix, table, lattix / table);
    }

    // Paging down through all rows, repainting after each page as the event loop would.
    BuildServerGrid(grid, gameTypes, 30000);
    PaintCounter body;
    PaintCounter header;
    PaintCounter footer;
    grid.Body().installEventFilter(&body);
    grid.Header().installEventFilter(&header);
    grid.Footer().installEventFilter(&footer);
    grid.SetScrollPos(0, 0);
    QApplication::processEvents();
    body.count = header.count = footer.count = 0;
    int pages = 0;
    const auto start = Clock::now();
    for (int last = -1; grid.GetScrollY() != last; ++pages) {
        last = grid.GetScrollY();
        grid.ScrollVert(QAbstractSlider::SliderPageStepAdd);
        QApplication::processEvents();
    }
    const double total = Milliseconds(Clock::now() - start);
    std::printf("page down through 30000 rows: %d pages, %.3f ms per page; paints: body %d, "
                "header %d, footer %d\n",
                pages, total / pages, body.count, header.count, footer.count);

    // Auto-size every column.
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        const double ms = Median(5, [&] { grid.AutoSizeColumn(col, true); });
        std::printf("AutoSizeColumn(%2d %-8s) over 30000 rows: %.3f ms -> width %d\n", col,
                    grid.GetColumnTitle(col).c_str(), ms, grid.Geometry().GetWidth(col));
    }
    return 0;
}
