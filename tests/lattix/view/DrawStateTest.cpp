#include "lattix/view/DrawState.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Lattix;

TEST(DrawStateTest, ConfiguredValuesAreTakenAndBrokenOnesIgnored)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("Lattix.ini")), QSettings::IniFormat);
    settings.setValue(CDrawState::kHorzGrid, 2);
    settings.setValue(CDrawState::kVertGrid, QStringLiteral("thick")); // no number
    settings.setValue(CDrawState::kLeparello, 0);
    settings.setValue(CDrawState::kLeparelloColor0, QStringLiteral("ff0080"));   // lower case
    settings.setValue(CDrawState::kLeparelloColor1, QStringLiteral("#00FF00"));  // malformed
    settings.setValue(CDrawState::kGridColor, QStringLiteral("0000FF      00")); // too long
    settings.setValue(CDrawState::kGridWidth, -3);                               // no width
    settings.sync();

    CDrawState state;
    state.Load(settings);
    EXPECT_EQ(state.GetHorzGrid(), 2);
    EXPECT_EQ(state.GetVertGrid(), 1);
    EXPECT_FALSE(state.GetLeparello());
    EXPECT_EQ(state.GetBackColor(0), QColor(255, 0, 128));
    EXPECT_EQ(state.GetBackColor(1), QColor(224, 255, 224));
    EXPECT_EQ(state.GetGridColor(), QColor(128, 160, 128));
    EXPECT_EQ(state.GetGridWidth(), 1);
}

} // namespace
