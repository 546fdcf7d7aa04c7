#include "app/FilterBar.h"

#include "app/MainDlgLayout.h"
#include "app/ResultLists.h"
#include "app/SettingsKey.h"
#include "lattix/model/RowData.h"
#include "lattix/view/TableCtrl.h"
#include "panlo/ControlId.h"
#include "query/ResultRules.h"
#include "query/Server.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace Lattix;

namespace {

template <typename T>
T& Control(const QWidget& window, int id)
{
    return *qobject_cast<T*>(FindControl(&window, id));
}

// The game types that the choice offers, by their number; as the lists name them.
constexpr int kFirstGameType = 5;
constexpr int kLastGameType = 7;
constexpr int kMaxPingLimit = 9999;

// Hides the rows of a grid whose server does not pass and keeps the focus row in sight;
// when nothing was or is hidden, the grid only learns the servers of its rows.
void Filter(CTableCtrl& grid, int handleColumn, const std::vector<std::uint8_t>& passes,
            bool changes)
{
    grid.ShowRows(handleColumn, passes);
    if (!changes)
        return;
    grid.Update(true);
    const int focus = grid.GetCursor().GetRow();
    if (focus >= 0)
        grid.EnsureVisible(focus, -1);
}

} // namespace

CFilterBar::CFilterBar(QWidget& window, CResultLists& lists, std::function<void()> countsChanged)
    : m_lists(lists), m_countsChanged(std::move(countsChanged)),
      m_text(Control<QLineEdit>(window, MainDlgIds::IDC_FILTER_TEXT)),
      m_hideEmpty(Control<QCheckBox>(window, MainDlgIds::IDC_HIDE_EMPTY)),
      m_hideFull(Control<QCheckBox>(window, MainDlgIds::IDC_HIDE_FULL)),
      m_hidePassworded(Control<QCheckBox>(window, MainDlgIds::IDC_HIDE_PASSWORDED)),
      m_punkBuster(Control<QComboBox>(window, MainDlgIds::IDC_FILTER_PUNKBUSTER)),
      m_gameType(Control<QComboBox>(window, MainDlgIds::IDC_FILTER_GAME_TYPE)),
      m_mod(Control<QComboBox>(window, MainDlgIds::IDC_FILTER_MOD)),
      m_maxPing(Control<QLineEdit>(window, MainDlgIds::IDC_FILTER_MAX_PING))
{
    m_text.setPlaceholderText(tr("Filter by server, map or mod"));
    m_text.setClearButtonEnabled(true);
    m_punkBuster.addItems({tr("PB: any"), tr("PB on"), tr("PB off")});
    m_gameType.addItem(tr("Any type"), 0);
    const QStringList types =
        QCoreApplication::translate("CResultLists", "0?\n1?\n2?\n3?\n4?\nMP - Objective\nSW - "
                                                    "Stopwatch\nCP - Checkpoint\n8?\n9?\n")
            .split(QLatin1Char('\n'));
    for (int type = kFirstGameType; type <= kLastGameType && type < types.size(); ++type)
        m_gameType.addItem(types[type], type);
    m_mod.addItem(tr("Any mod"), QString());
    m_maxPing.setValidator(new QIntValidator(0, kMaxPingLimit, &m_maxPing));
    m_maxPing.setPlaceholderText(tr("any"));

    const auto apply = [this] { Apply(); };
    connect(&m_text, &QLineEdit::textChanged, this, apply);
    connect(&m_maxPing, &QLineEdit::textChanged, this, apply);
    for (QCheckBox* box : {&m_hideEmpty, &m_hideFull, &m_hidePassworded})
        connect(box, &QCheckBox::toggled, this, apply);
    for (QComboBox* box : {&m_punkBuster, &m_gameType, &m_mod})
        connect(box, &QComboBox::currentIndexChanged, this, apply);
    connect(&Control<QPushButton>(window, MainDlgIds::IDC_FILTER_CLEAR), &QPushButton::clicked,
            this, &CFilterBar::Clear);
    for (QWidget* control :
         std::initializer_list<QWidget*>{&m_text, &m_hideEmpty, &m_hideFull, &m_hidePassworded,
                                         &m_punkBuster, &m_gameType, &m_mod, &m_maxPing})
        control->installEventFilter(this);
}

bool CFilterBar::eventFilter(QObject* watched, QEvent* event)
{
    // The grids learn which server each row shows once, when the user comes to the bar, so
    // that the keys and clicks that follow answer at once.
    if (event->type() == QEvent::FocusIn && !m_filtering)
        Apply(true);
    if (event->type() == QEvent::KeyPress && (watched == &m_text || watched == &m_maxPing)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

ServerFilterRules CFilterBar::Rules() const
{
    ServerFilterRules rules;
    rules.text = m_text.text();
    rules.hideEmpty = m_hideEmpty.isChecked();
    rules.hideFull = m_hideFull.isChecked();
    rules.hidePassworded = m_hidePassworded.isChecked();
    rules.punkBuster = std::max(0, m_punkBuster.currentIndex());
    rules.gameType = m_gameType.currentData().toInt();
    rules.mod = m_mod.currentData().toString();
    rules.maxPing = m_maxPing.text().toInt();
    return rules;
}

void CFilterBar::SetControls(const ServerFilterRules& rules)
{
    const QSignalBlocker blockers[] = {
        QSignalBlocker(m_text),       QSignalBlocker(m_hideEmpty),
        QSignalBlocker(m_hideFull),   QSignalBlocker(m_hidePassworded),
        QSignalBlocker(m_punkBuster), QSignalBlocker(m_gameType),
        QSignalBlocker(m_mod),        QSignalBlocker(m_maxPing)};
    m_text.setText(rules.text);
    m_hideEmpty.setChecked(rules.hideEmpty);
    m_hideFull.setChecked(rules.hideFull);
    m_hidePassworded.setChecked(rules.hidePassworded);
    m_punkBuster.setCurrentIndex(std::clamp(rules.punkBuster, 0, m_punkBuster.count() - 1));
    m_gameType.setCurrentIndex(std::max(0, m_gameType.findData(rules.gameType)));
    if (!rules.mod.isEmpty() && m_mod.findData(rules.mod) < 0)
        m_mod.addItem(rules.mod, rules.mod);
    m_mod.setCurrentIndex(std::max(0, m_mod.findData(rules.mod)));
    m_maxPing.setText(rules.maxPing > 0 ? QString::number(rules.maxPing) : QString());
}

void CFilterBar::SetRules(const ServerFilterRules& rules)
{
    SetControls(rules);
    Apply();
}

void CFilterBar::Apply(bool always)
{
    const ServerFilterRules rules = Rules();
    if (rules.HidesNothing()) {
        m_lists.SetShownServers({});
        if (!m_filtering && !always)
            return;
    }
    const bool changes = m_filtering || !rules.HidesNothing();
    m_filtering = !rules.HidesNothing();
    auto filter = std::make_shared<CServerFilter>(rules);
    if (m_filtering)
        m_lists.SetShownServers([filter](const CServer& server) { return filter->Passes(server); });

    // Which servers pass, by handle.
    IndexRecords();
    std::vector<std::uint8_t> passes(m_facts.size() + 1, 0);
    std::size_t begin = 0;
    for (std::size_t i = 0; i < m_facts.size(); ++i) {
        const std::string_view texts(m_texts.data() + begin, m_textEnds[i] - begin);
        passes[i + 1] = filter->Passes(m_facts[i], texts) ? 1 : 0;
        begin = m_textEnds[i];
    }
    CTableCtrl& servers = m_lists.Servers();
    // The selected server is the focus row that is marked.
    const int focus = servers.GetCursor().GetRow();
    const bool selected = focus >= 0 && servers.IsRowMarked(focus);
    Filter(servers, CResultLists::kServerHandleColumn, passes, changes);
    Filter(m_lists.Players(), CResultLists::kPlayerHandleColumn, passes, changes);
    // The players of a server that went out of sight go with it.
    if (selected && servers.GetCursor().GetRow() < 0)
        m_lists.ShowServerPlayers(-1);
    if (changes && m_countsChanged)
        m_countsChanged();
}

void CFilterBar::IndexRecords()
{
    if (m_generation != m_lists.Generation()) {
        m_generation = m_lists.Generation();
        m_facts.clear();
        m_texts.clear();
        m_textEnds.clear();
    }
    for (int handle = static_cast<int>(m_facts.size()) + 1; handle <= m_lists.RecordCount();
         ++handle) {
        const CServer* server = m_lists.Record(handle);
        m_facts.push_back(server ? CServerFilter::FactsOf(*server) : ServerFacts{});
        if (server)
            CServerFilter::AppendTexts(*server, m_texts);
        m_textEnds.push_back(m_texts.size());
    }
}

void CFilterBar::RecordsChanged()
{
    m_facts.clear();
    m_texts.clear();
    m_textEnds.clear();
    Apply();
}

void CFilterBar::ListMods()
{
    // Many servers share few mods: they are told apart as bytes before any text is made.
    std::set<std::string> names;
    for (int handle = 1; handle <= m_lists.RecordCount(); ++handle) {
        if (const CServer* server = m_lists.Record(handle))
            names.insert(ModName(server->modUrl));
    }
    std::vector<QString> mods;
    mods.reserve(names.size() + 1);
    for (const std::string& name : names)
        mods.push_back(QString::fromStdString(name));
    const QString chosen = m_mod.currentData().toString();
    if (!chosen.isEmpty())
        mods.push_back(chosen);
    std::sort(mods.begin(), mods.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    mods.erase(std::unique(mods.begin(), mods.end()), mods.end());
    const QSignalBlocker blocker(m_mod);
    while (m_mod.count() > 1)
        m_mod.removeItem(1);
    for (const QString& mod : mods) {
        if (!mod.isEmpty())
            m_mod.addItem(mod, mod);
    }
    m_mod.setCurrentIndex(std::max(0, m_mod.findData(chosen)));
}

void CFilterBar::Read(const CSettingsKey& settings)
{
    ServerFilterRules rules;
    rules.text = settings.GetString(QStringLiteral("FilterText"));
    rules.hideEmpty = settings.GetInt(QStringLiteral("FilterHideEmpty"), 0) != 0;
    rules.hideFull = settings.GetInt(QStringLiteral("FilterHideFull"), 0) != 0;
    rules.hidePassworded = settings.GetInt(QStringLiteral("FilterHidePassworded"), 0) != 0;
    rules.punkBuster = settings.GetInt(QStringLiteral("FilterPunkBuster"), 0);
    rules.gameType = settings.GetInt(QStringLiteral("FilterGameType"), 0);
    rules.mod = settings.GetString(QStringLiteral("FilterMod"));
    rules.maxPing =
        std::clamp(settings.GetInt(QStringLiteral("FilterMaxPing"), 0), 0, kMaxPingLimit);
    SetRules(rules);
}

void CFilterBar::Write(CSettingsKey& settings) const
{
    const ServerFilterRules rules = Rules();
    settings.SetString(QStringLiteral("FilterText"), rules.text);
    settings.SetInt(QStringLiteral("FilterHideEmpty"), rules.hideEmpty ? 1 : 0);
    settings.SetInt(QStringLiteral("FilterHideFull"), rules.hideFull ? 1 : 0);
    settings.SetInt(QStringLiteral("FilterHidePassworded"), rules.hidePassworded ? 1 : 0);
    settings.SetInt(QStringLiteral("FilterPunkBuster"), rules.punkBuster);
    settings.SetInt(QStringLiteral("FilterGameType"), rules.gameType);
    settings.SetString(QStringLiteral("FilterMod"), rules.mod);
    settings.SetInt(QStringLiteral("FilterMaxPing"), rules.maxPing);
}
