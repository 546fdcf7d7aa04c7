#pragma once

#include "app/MainDlg.h"
#include "app/Prompts.h"
#include "app/ResultLists.h"

#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A main window in a folder of its own, with empty settings, and the steps a user takes.
class CWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Store().clear();
        CPrompts::Reset();
    }
    static QSettings Store()
    {
        return {QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Farsighter RTCW")};
    }
    std::unique_ptr<CMainDlg> Open(MainDlgOptions options = {})
    {
        options.favoritesPath = m_dir.filePath(QStringLiteral("favorites.dat"));
        options.masterFirstTimeoutMs = 300;
        options.masterTimeoutStepMs = 100;
        auto dialog = std::make_unique<CMainDlg>(options);
        dialog->show();
        return dialog;
    }
    static void Click(CMainDlg& dialog, int button)
    {
        QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(button)), Qt::LeftButton);
    }
    // Clicks the button and waits for the scan that it starts to end.
    static bool Scan(CMainDlg& dialog, int button)
    {
        QSignalSpy finished(&dialog, &CMainDlg::ScanFinished);
        Click(dialog, button);
        return finished.wait(30000);
    }
    // The server-list row of the address, or the row count when none shows it.
    static int RowOf(const Lattix::CTableCtrl& servers, const std::string& address)
    {
        int row = 0;
        while (row < servers.GetRowCount() &&
               servers.GetCellText(row, CResultLists::kServerAddressColumn) != address)
            ++row;
        return row;
    }

    QTemporaryDir m_dir;
};
