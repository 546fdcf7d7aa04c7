#include "velk/NumberEdit.h"

#include "format/NumberSettings.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr int kEditId = 1200;

// Comma for decimals, point between groups of three, two fraction digits.
const CNumberSettings kGerman("de", NumberFmt{2, 1, 3, ",", ".", 1}, {}, ":");

// A dialog that records the edit's commands and may refuse spin steps.
class Parent : public QDialog, public CVelkNotifyTarget
{
public:
    std::vector<int> codes;
    bool refuseSteps = false;

    std::intptr_t OnVelkNotify(VelkNMHDR& header) override
    {
        EXPECT_EQ(header.idFrom, kEditId);
        if (header.code == CSpinEdit::UDN_DELTAPOS) {
            const auto& record = reinterpret_cast<const VelkNMUPDOWN&>(header);
            EXPECT_EQ(record.iPos, record.iDelta);
            codes.push_back(record.iDelta > 0 ? 'U' : 'D');
        }
        return refuseSteps ? 1 : 0;
    }
    std::vector<int> Take() { return std::exchange(codes, {}); }
};

struct Fixture
{
    Parent dialog;
    CNumberEdit* edit; // owned by the dialog
    QLineEdit* other;  // takes the focus away

    Fixture()
    {
        edit = new CNumberEdit(kEditId, &dialog);
        edit->Format().SetSettings(kGerman);
        edit->setGeometry(10, 10, 150, 24);
        other = new QLineEdit(&dialog);
        other->setGeometry(10, 50, 150, 24);
        QObject::connect(edit, &CExEdit::Command, [this](int id, int code) {
            EXPECT_EQ(id, kEditId);
            dialog.codes.push_back(code);
        });
        dialog.resize(200, 100);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // The edit may still report a change while the dialog deletes it.
    ~Fixture() { QObject::disconnect(edit, nullptr, nullptr, nullptr); }

    // Focuses the edit, replaces its text by typing and moves the focus on.
    void Type(const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        other->setFocus();
    }
    QPoint Button(int button) const { return edit->ButtonRect(button).center(); }
};

TEST(NumberEditTest, TypedTextIsReadAndFormattedHeldButtonsRepeatAndStepsStayInTheRange)
{
    Fixture f;
    struct Case
    {
        QString typed;
        double value;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"1.234,5", 1234.5, "1.234,50"},
        {"12-3", -123, "-123,00"}, // every minus sign moves to the front
        {"abc", 0, "0,00"},        // nothing to read
        {"nan", 0, "0,00"},        // decimal numbers only
        {"-inf", 0, "0,00"},
        {"0x1A", 0, "0,00"},
        {"1e400", 1e9, "1.000.000.000,00"},      // beyond a double: still above the range
        {"2000000000", 1e9, "1.000.000.000,00"}, // above the range
        {"-2000000000", -1e9, "-1.000.000.000,00"},
    };
    // The program's text is no change of the user's.
    f.edit->setFocus();
    f.edit->setText("5");
    f.other->setFocus();
    EXPECT_TRUE(f.dialog.Take().empty());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        f.Type(c.typed);
        EXPECT_EQ(f.edit->text(), c.shown);
        EXPECT_EQ(f.edit->GetValue(), c.value);
        EXPECT_EQ(f.dialog.Take(), (std::vector<int>{CExEdit::kModifiedByUser}));
    }
    // While it has the focus the edit shows the number without group separators.
    f.edit->setFocus();
    EXPECT_EQ(f.edit->text(), "-1000000000,00");
    EXPECT_EQ(f.edit->selectedText(), f.edit->text());
    // Negative numbers are red, a darker red when read-only.
    EXPECT_EQ(f.edit->CurrentTextColor(), QColor(255, 0, 0));
    f.edit->setReadOnly(true);
    EXPECT_EQ(f.edit->CurrentTextColor(), QColor(204, 0, 0));
    f.edit->SetValue(7);
    EXPECT_EQ(f.edit->CurrentTextColor(), QColor(Qt::black));

    // Held buttons repeat while the pointer stays on them, also pressed without the focus.
    f.edit->setReadOnly(false);
    f.other->setFocus();
    f.edit->SetValue(0);
    const QPoint up = f.Button(CSpinEdit::kUp);
    QTest::mousePress(f.edit, Qt::LeftButton, {}, up);
    EXPECT_EQ(f.edit->GetValue(), 1); // at once
    EXPECT_EQ(f.edit->GetPressed(), CSpinEdit::kUp);
    EXPECT_EQ(f.edit->RepeatTimer().interval(), CSpinEdit::kFirstDelay);
    f.edit->OnRepeatTimer();
    EXPECT_EQ(f.edit->GetValue(), 2);
    EXPECT_EQ(f.edit->RepeatTimer().interval(), CSpinEdit::kRepeatDelay);

    // Off the button the steps pause, but the button stays captured.
    QTest::mouseMove(f.edit, f.Button(CSpinEdit::kDown));
    f.edit->OnRepeatTimer();
    EXPECT_EQ(f.edit->GetValue(), 2);
    EXPECT_EQ(f.edit->GetPressed(), 0);
    EXPECT_EQ(f.edit->GetCaptured(), CSpinEdit::kUp);
    QTest::mouseMove(f.edit, up);
    f.edit->OnRepeatTimer();
    EXPECT_EQ(f.edit->GetValue(), 3);

    QTest::mouseRelease(f.edit, Qt::LeftButton, {}, up);
    EXPECT_FALSE(f.edit->RepeatTimer().isActive());
    EXPECT_EQ(f.edit->GetCaptured(), 0);

    // Keys and buttons step within the range.
    f.edit->SetRange(0, 3);
    f.edit->SetValue(2);
    f.edit->setFocus();
    f.dialog.Take();

    QTest::keyClick(f.edit, Qt::Key_Up);
    QTest::keyClick(f.edit, Qt::Key_Up); // held at the maximum
    EXPECT_EQ(f.edit->GetValue(), 3);
    QTest::mouseClick(f.edit, Qt::LeftButton, {}, f.Button(CSpinEdit::kDown));
    QTest::mouseClick(f.edit, Qt::LeftButton, {}, f.Button(CSpinEdit::kDown));
    EXPECT_EQ(f.edit->GetValue(), 1);
    QTest::keyClick(f.edit, Qt::Key_Down);
    QTest::keyClick(f.edit, Qt::Key_Down); // held at the minimum
    EXPECT_EQ(f.edit->GetValue(), 0);
    const std::vector<int> codes = f.dialog.Take();
    ASSERT_EQ(codes.size(), 18u); // six steps
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 3),
              (std::vector<int>{'U', CSpinEdit::kBeforeStep, CSpinEdit::kAfterStep}));

    // A parent that refuses keeps the value and hears nothing else.
    f.dialog.refuseSteps = true;
    QTest::keyClick(f.edit, Qt::Key_Up);
    QTest::mouseClick(f.edit, Qt::LeftButton, {}, f.Button(CSpinEdit::kUp));
    EXPECT_EQ(f.edit->GetValue(), 0);
    EXPECT_EQ(f.dialog.Take(), (std::vector<int>{'U', 'U'}));
    f.dialog.refuseSteps = false;

    // A read-only edit does not step; leaving after steps reports a user change once.
    f.edit->setReadOnly(true);
    QTest::keyClick(f.edit, Qt::Key_Up);
    QTest::mouseClick(f.edit, Qt::LeftButton, {}, f.Button(CSpinEdit::kUp));
    EXPECT_EQ(f.edit->GetValue(), 0);
    EXPECT_TRUE(f.dialog.Take().empty());
    f.other->setFocus();
    EXPECT_EQ(f.dialog.Take(), (std::vector<int>{CExEdit::kModifiedByUser}));
    f.edit->setFocus();
    f.other->setFocus();
    EXPECT_TRUE(f.dialog.Take().empty());
}

} // namespace
