#include "app/FavoritesDlg.h"

#include "app/AddressText.h"
#include "app/DialogBuilder.h"
#include "app/FavoritesFile.h"
#include "app/GridLayouts.h"
#include "app/Prompts.h"
#include "app/SettingsKey.h"
#include "lattix/model/CellData.h"
#include "lattix/view/PasswordCol.h"
#include "lattix/view/PasswordOut.h"
#include "lattix/view/StringCol.h"
#include "query/Favorites.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>

using namespace Lattix;
using Kind = CDialogBuilder::Kind;

namespace {

// The cell's own text, not what it shows: the passwords show as dots.
QString Text(const CTableCtrl& grid, int row, int col)
{
    return QString::fromStdString(grid.GetCell(row, col)->GetString());
}

void SetText(CTableCtrl& grid, int row, int col, const QString& text)
{
    grid.GetCell(row, col)->Set(text.toStdString());
}

} // namespace

CFavoritesDlg::CFavoritesDlg(QString path, CSettingsKey& settings, QWidget* parent)
    : QDialog(parent), m_path(std::move(path)), m_settings(settings)
{
    setWindowTitle(tr("Favorites ..."));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    const CDialogUnits units(font());
    CDialogBuilder builder(*this, units);
    builder.Add({IDC_FAVORITES, Kind::Placeholder, nullptr, {5, 6, 224, 119}});
    auto* show = static_cast<QCheckBox*>(builder.Add({IDC_SHOW_PASSWORDS,
                                                      Kind::Check,
                                                      QT_TRANSLATE_NOOP("Dialog", "Show passwords"),
                                                      {5, 128, 120, 10}}));
    auto* add = static_cast<QPushButton*>(
        builder.Add({IDC_NEW, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "New"), {5, 142, 50, 14}}));
    auto* remove = static_cast<QPushButton*>(builder.Add(
        {IDC_DELETE, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Delete"), {59, 142, 50, 14}}));
    auto* ok = static_cast<QPushButton*>(builder.Add(
        {1, Kind::DefaultButton, QT_TRANSLATE_NOOP("Dialog", "OK"), {125, 143, 50, 14}}));
    auto* cancel = static_cast<QPushButton*>(
        builder.Add({2, Kind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), {179, 143, 50, 14}}));
    connect(add, &QPushButton::clicked, this, &CFavoritesDlg::NewFavorite);
    connect(remove, &QPushButton::clicked, this, &CFavoritesDlg::DeleteFavorite);
    connect(ok, &QPushButton::clicked, this, &CFavoritesDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CFavoritesDlg::reject);
    connect(show, &QCheckBox::toggled, this, [this](bool shown) {
        if (auto* out =
                dynamic_cast<CPasswordOut*>(m_grid.GetColumnInfo(kPasswordColumn).pOutput.get())) {
            out->SetMasked(!shown);
            m_grid.Update(true);
        }
    });
    resize(builder.Pixels(QRect(0, 0, 234, 161)).size());
    m_initialSize = size();
    setMinimumSize(m_initialSize);

    m_grid.CreateFromControl(IDC_FAVORITES, this);
    const CStringCol text(0x8924);
    m_grid.SetColumnCount(3);
    m_grid.SetColumn(kNameColumn, text, tr("Name").toUtf8().constData(), 150);
    m_grid.SetColumn(kAddressColumn, text, tr("Ip").toUtf8().constData(), 128);
    m_grid.SetColumn(kPasswordColumn, CPasswordCol(0x8924), tr("Password").toUtf8().constData(), 0);
    m_grid.CreateRowLayout();
    m_grid.SetAllColumnsEditable(true);

    using R = CResizer;
    m_resizer.Attach(this);
    m_resizer.Add(&m_grid, R::kRightMoves | R::kBottomMoves);
    m_resizer.Add(show, R::kTopMoves | R::kBottomMoves);
    for (QPushButton* button : {add, remove})
        m_resizer.Add(button, R::kTopMoves | R::kBottomMoves);
    for (QPushButton* button : {ok, cancel})
        m_resizer.Add(button, R::kLeftMoves | R::kRightMoves | R::kTopMoves | R::kBottomMoves);

    Load();
    if (!m_problem.isEmpty()) {
        m_grid.SetAllColumnsEditable(false);
        for (QPushButton* button : {add, remove, ok})
            button->setEnabled(false);
        CPrompts::Show(parent, QMessageBox::Warning, m_problem);
    }

    RestoreGridLayout(m_settings, m_grid, QStringLiteral("Lattix_Favorites"));
    m_grid.Update(false);

    // The stored size applies when it is larger than the template's; the position never.
    if (const auto rect = m_settings.GetRect(QStringLiteral("LastPosFavorites"));
        rect && rect->width() > m_initialSize.width() && rect->height() > 0)
        resize(rect->size().boundedTo(QSize(4096, 4096)));
}

void CFavoritesDlg::Load()
{
    const CFavoritesFile::Content content = CFavoritesFile(m_path).Load();
    // The grid shows the file's last line first; rows are appended, which keeps loading a
    // long file linear.
    for (auto favorite = content.favorites.rbegin(); favorite != content.favorites.rend();
         ++favorite) {
        const int row = m_grid.GetRowCount();
        m_grid.AddRow();
        SetText(m_grid, row, kAddressColumn, favorite->address);
        SetText(m_grid, row, kNameColumn, favorite->name);
        SetText(m_grid, row, kPasswordColumn, favorite->password);
    }
    m_grid.Update(false);
    if (content.problem.isEmpty())
        return;
    // What could not be read whole is only shown: saving it would lose the rest.
    const QString file = QDir::toNativeSeparators(m_path);
    m_problem = content.capped ? tr("The favorites file %1 holds more than %2 favorites; only "
                                    "the first %2 are shown, and the file cannot be changed here.")
                                     .arg(file)
                                     .arg(kMaxFavorites)
                               : tr("Cannot read the favorites file %1: %2\nThe file is left "
                                    "as it is and cannot be changed here.")
                                     .arg(file, content.problem);
}

void CFavoritesDlg::NewFavorite()
{
    const int row = m_grid.GetRowCount();
    m_grid.AddRow();
    SetText(m_grid, row, kNameColumn, tr("New Server"));
    SetText(m_grid, row, kAddressColumn, QStringLiteral("127.0.0.1:27960"));
    SetText(m_grid, row, kPasswordColumn, {});
    m_grid.SelectRow(row);
    m_grid.Update(false);
}

void CFavoritesDlg::DeleteFavorite()
{
    m_grid.EndEdit(true); // the open edit's value goes with the row, or is dropped
    const int row = m_grid.GetSelectedRow();
    if (m_grid.IsValidRow(row)) {
        m_grid.DeleteRow(row);
        m_grid.Update(false);
    }
}

void CFavoritesDlg::accept()
{
    m_grid.EndEdit(false);
    if (!m_problem.isEmpty()) {
        CPrompts::Show(this, QMessageBox::Warning, m_problem);
        return;
    }
    std::vector<Favorite> favorites;
    for (int row = m_grid.GetRowCount() - 1; row >= 0; --row) {
        Favorite favorite;
        favorite.name = CFavoritesFile::CleanField(Text(m_grid, row, kNameColumn));
        SetText(m_grid, row, kNameColumn, favorite.name);
        const auto address = ParseAddressText(Text(m_grid, row, kAddressColumn), kDefaultGamePort);
        if (!address) {
            m_grid.SelectRow(row);
            m_grid.GetCursor().Set(row, kAddressColumn);
            m_grid.EnsureVisible(row, kAddressColumn);
            m_grid.BeginEdit(false);
            m_grid.Update(false);
            CPrompts::Show(this, QMessageBox::Critical, tr("Invalid IP address."));
            m_grid.EditController().FocusEditor();
            return;
        }
        favorite.address = QString::fromStdString(address->ToString());
        SetText(m_grid, row, kAddressColumn, favorite.address);
        favorite.password = CFavoritesFile::CleanField(Text(m_grid, row, kPasswordColumn));
        SetText(m_grid, row, kPasswordColumn, favorite.password);
        favorites.push_back(favorite);
    }
    QString error;
    if (!CFavoritesFile(m_path).Save(favorites, &error)) {
        CPrompts::Show(this, QMessageBox::Warning, tr("Cannot write %1: %2").arg(m_path, error));
        return;
    }
    QDialog::accept();
}

void CFavoritesDlg::done(int result)
{
    SaveGridLayout(m_settings, m_grid, QStringLiteral("Lattix_Favorites"));
    m_settings.SetRect(QStringLiteral("LastPosFavorites"), geometry().normalized());
    QDialog::done(result);
}

void CFavoritesDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_resizer.Resize();
}
