// The small dialogs with the texts that break them: long hints and errors, absurd names.
#include "app/MasterServerDlg.h"
#include "app/ServerInfoDlg.h"
#include "panlo/ControlId.h"
#include "query/Server.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Every line of a word-wrapped label lies inside it and inside its dialog.
void ExpectWhole(const QLabel& label, const QWidget& dialog)
{
    EXPECT_LE(label.heightForWidth(label.width()), label.height()) << label.text().toStdString();
    EXPECT_TRUE(dialog.rect().contains(label.geometry())) << label.text().toStdString();
}

} // namespace

// The master server dialog takes only an address that can work; its hint, with the error
// that names the refused text, shows whole above the field.
TEST(DialogsTest, TheMasterServerDialogTakesOnlyAnAddressThatCanWork)
{
    CMasterServerDlg dialog(QStringLiteral("127.0.0.1:27951"));
    dialog.show();
    const auto* hint = qobject_cast<QLabel*>(FindControl(&dialog, CMasterServerDlg::IDC_HINT));
    auto* edit = qobject_cast<QLineEdit*>(FindControl(&dialog, CMasterServerDlg::IDC_MASTER));
    ASSERT_TRUE(hint && edit);
    ExpectWhole(*hint, dialog);
    for (const char* refused : {"not a host!", "", "127.0.0.1:port", "127.0.0.1:99999"}) {
        edit->setText(QString::fromLatin1(refused));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << refused;
        EXPECT_EQ(dialog.Master(), QStringLiteral("127.0.0.1:27951"));
        EXPECT_TRUE(hint->text().contains(QString::fromLatin1(refused))) << refused;
        ExpectWhole(*hint, dialog);
    }
    EXPECT_GE(edit->y(), hint->geometry().bottom());
    EXPECT_TRUE(dialog.rect().contains(edit->geometry()));
    edit->setText(QStringLiteral(" 127.0.0.2 ")); // no port: the one shown stays
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Master(), QStringLiteral("127.0.0.2:27951"));
}

// A server that names itself with 64 KiB: the title is cut with an ellipsis, the Variable
// column still shows its names, and the cells keep the whole text.
TEST(DialogsTest, AnAbsurdServerNameLeavesTheInfoDialogUsable)
{
    const std::string huge(65536, 'W');
    CServer server;
    server.name = huge;
    server.vars = {{"sv_hostname", huge}, {"g_gametype", "5"}, {"mapname", "mp_beach"}};
    CServerInfoDlg dialog(server);
    dialog.show();
    EXPECT_LE(dialog.windowTitle().size(), 100);
    EXPECT_TRUE(dialog.windowTitle().endsWith(QChar(0x2026)));
    Lattix::CTableCtrl& grid = dialog.Grid();
    EXPECT_GE(grid.GetColumnWidth(0),
              grid.fontMetrics().horizontalAdvance(QStringLiteral("sv_hostname")));
    EXPECT_GE(grid.GetColumnWidth(1), grid.GetBodyWidth() / 3);
    const int row = grid.FindText(0, "sv_hostname", -1);
    ASSERT_GE(row, 0);
    EXPECT_EQ(grid.GetCellText(row, 1), huge);
}
