#include "velk/ComboBase.h"

#include <QAccessible>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr int kFaceId = 1500;

// A face with rows of 16 pixels that records what reaches its virtual operations.
class Face : public CComboBase
{
public:
    std::vector<int> actions; // face actions; 100 + code for commands to the parent
    std::vector<QString> typed;
    std::int64_t now = 100000;

    Face() : CComboBase(kFaceId)
    {
        SetClock([this] { return now; });
        connect(this, &CComboBase::Command, [this](int id, int code) {
            EXPECT_EQ(id, kFaceId);
            actions.push_back(100 + code);
        });
        resize(120, 20);
        show();
    }
    std::vector<int> Take() { return std::exchange(actions, {}); }

protected:
    void OnFaceAction(int code) override
    {
        actions.push_back(code);
        CComboBase::OnFaceAction(code);
    }
    int GetRowHeight() const override { return 16; }
    void OnTypeAhead(const QString& text) override { typed.push_back(text); }
};

TEST(ComboBaseTest, TypedCharactersGatherWhileTheyComeQuickly)
{
    Face face;
    face.setFocus();
    struct Key
    {
        std::int64_t at;
        Qt::Key key;
        QString typeAhead;
        bool reported;
    };
    const std::vector<Key> keys = {
        {0, Qt::Key_A, "a", true},
        {1000, Qt::Key_B, "ab", true},
        {4000, Qt::Key_C, "c", true},          // 3 s later: a new text
        {6500, Qt::Key_Backspace, "c", false}, // too late to take back
        {7000, Qt::Key_Backspace, "", true},   // in time
        {7100, Qt::Key_Backspace, "", false},  // nothing left
        {7200, Qt::Key_D, "d", true},
        {7300, Qt::Key_Delete, "", false},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.at);
        face.now = 100000 + k.at;
        face.typed.clear();
        QTest::keyClick(&face, k.key);
        EXPECT_EQ(face.TypeAhead(), k.typeAhead);
        EXPECT_EQ(face.typed,
                  k.reported ? std::vector<QString>{k.typeAhead} : std::vector<QString>{});
    }
    EXPECT_FALSE(face.IsOpened());
    QTest::keyClick(&face, Qt::Key_F4);
    EXPECT_TRUE(face.IsOpened());
}

TEST(ComboBaseTest, TheButtonReportsOnlyAReleaseOnItAndTheDropDownShowsWholeRows)
{
    Face face;
    const QPoint button = face.ButtonRect().center();
    const QPoint text(10, 10);

    QTest::mousePress(&face, Qt::LeftButton, {}, button);
    EXPECT_TRUE(face.IsPressed());
    QTest::mouseMove(&face, text);
    EXPECT_FALSE(face.IsPressed());
    EXPECT_TRUE(face.IsCaptured());
    QTest::mouseRelease(&face, Qt::LeftButton, {}, text);
    EXPECT_EQ(face.Take(), (std::vector<int>{CComboBase::kButtonDown, CComboBase::kReleasedOff}));

    QTest::mouseClick(&face, Qt::LeftButton, {}, button);
    EXPECT_EQ(face.Take(), (std::vector<int>{CComboBase::kButtonDown, CComboBase::kButtonUp, 100}));
    QTest::mouseClick(&face, Qt::LeftButton, {}, text);
    face.SetOpened(true);
    QTest::mouseClick(&face, Qt::LeftButton, {}, button);
    EXPECT_EQ(face.Take(), (std::vector<int>{CComboBase::kFaceDown, CComboBase::kDownWhileOpen}));

    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&face);
    face.SetText("Checkpoint");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->role(), QAccessible::ComboBox);
    EXPECT_EQ(view->text(QAccessible::Value), "Checkpoint");
    EXPECT_TRUE(view->state().expanded);

    // The drop-down shows whole rows. (Placing it above a face at the bottom of the screen is
    // checked in ComboTableTest.)
    const QRect screen = face.screen()->geometry();
    face.move(screen.left() + 50, screen.top() + 50);
    const QRect faceRect(face.mapToGlobal(QPoint(0, 0)), face.size());
    // 8 rows of 16 and 2 extra.
    EXPECT_EQ(face.GetDropRect(), QRect(faceRect.left(), faceRect.bottom() + 1, 120, 130));
    face.SetDropSize(200, 100); // 100 pixels hold 6 whole rows
    EXPECT_EQ(face.GetDropRect().size(), QSize(200, 98));
    face.SetStyle(CComboBase::CBS_NOINTEGRALHEIGHT);
    EXPECT_EQ(face.GetDropRect().size(), QSize(200, 100));
}

} // namespace
