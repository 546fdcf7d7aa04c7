#include "velk/ExComboBox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kComboId = 1010;
constexpr int kSel = CExComboBox::kSelChange;
constexpr int kOk = CExComboBox::kSelEndOk;
constexpr int kDbl = CExComboBox::kDblClk;

using Codes = std::vector<int>;

// A dialog with the sorted combo (items Alpha, Beta, Gamma) and a default button after it,
// shown and focused on the combo, that records the combo's selection notifications.
struct Dialog
{
    QDialog dialog;
    CExComboBox* combo;
    QPushButton* button;
    Codes codes;
    int defaultPressed = 0;

    explicit Dialog(CExComboBox::Kind kind = CExComboBox::kDropDown)
    {
        combo = new CExComboBox(kind, kComboId, &dialog); // owned by the dialog
        combo->SetSorted(true);
        for (const char* text : {"Gamma", "Alpha", "Beta"})
            combo->AddItem(text, 1);
        combo->setCurrentIndex(-1);
        combo->setGeometry(10, 10, 150, 24);
        button = new QPushButton("Search", &dialog);
        button->setGeometry(10, 70, 80, 24);
        button->setDefault(true);
        QObject::connect(button, &QPushButton::clicked, [this] { ++defaultPressed; });
        QObject::connect(combo, &CExComboBox::Command, [this](int id, int code) {
            EXPECT_EQ(id, kComboId);
            if (code != CExComboBox::kSetFocus && code != CExComboBox::kKillFocus)
                codes.push_back(code);
        });
        dialog.resize(200, 110);
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        combo->setFocus();
    }

    QLineEdit& Edit() const { return *combo->lineEdit(); }
    Codes Take() { return std::exchange(codes, {}); }
};

TEST(ExComboBoxTest, TypingCompletesAndBackspaceTakesTheCompletionAndOneMore)
{
    Dialog d;
    struct Step
    {
        Qt::Key key; // the letter keys type lower case
        QString text, selected;
        int selection;
        Codes codes;
    };
    const std::vector<Step> steps = {
        {Qt::Key_B, "Beta", "eta", 1, {kSel}},
        {Qt::Key_E, "Beta", "ta", 1, {}},
        {Qt::Key_X, "Bex", "", -1, {kSel}},
        {Qt::Key_Backspace, "Beta", "ta", 1, {kSel}},
        {Qt::Key_Backspace, "Beta", "eta", 1, {}},
        {Qt::Key_Backspace, "", "", -1, {kSel}}, // an empty field is not completed again
        {Qt::Key_Backspace, "", "", -1, {}},
        {Qt::Key_G, "Gamma", "amma", 2, {kSel}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(QKeySequence(step.key).toString().toStdString());
        QTest::keyClick(d.combo, step.key);
        EXPECT_EQ(d.Edit().text(), step.text);
        EXPECT_EQ(d.Edit().selectedText(), step.selected);
        EXPECT_EQ(d.Edit().cursorPosition(), step.text.size() - step.selected.size());
        EXPECT_EQ(d.combo->currentIndex(), step.selection);
        EXPECT_EQ(d.Take(), step.codes);
    }
    EXPECT_EQ(d.combo->GetSelectedText(), "Gamma");
}

TEST(ExComboBoxTest, EnterConfirmsAndTabLeavesWithTheTypedSelection)
{
    Dialog d;
    QTest::keyClicks(d.combo, "ga");
    EXPECT_EQ(d.Take(), (Codes{kSel}));
    QTest::keyClick(d.combo, Qt::Key_Return);
    EXPECT_EQ(d.Take(), (Codes{kOk, kDbl}));
    QTest::keyClick(d.combo, Qt::Key_Enter);
    QTest::keyClick(d.combo, Qt::Key_Escape);
    EXPECT_EQ(d.Take(), (Codes{kDbl}));
    EXPECT_EQ(d.defaultPressed, 0);
    EXPECT_TRUE(d.dialog.isVisible());

    // Uncompleted text selects the first item that it begins, else item 0.
    d.combo->m_bAutoComplete = false;
    d.Edit().selectAll();
    QTest::keyClicks(d.combo, "zz");
    QTest::keyClick(d.combo, Qt::Key_Return);
    EXPECT_EQ(d.Edit().text(), "Alpha");
    EXPECT_EQ(d.Take(), (Codes{kSel, kOk, kDbl}));
    d.Edit().selectAll();
    QTest::keyClicks(d.combo, "be");
    QTest::keyClick(d.combo, Qt::Key_Tab);
    EXPECT_TRUE(d.button->hasFocus());
    EXPECT_EQ(d.combo->GetSelectedText(), "Beta");
    EXPECT_EQ(d.Take(), (Codes{kSel, kOk}));
    QTest::keyClick(d.button, Qt::Key_Backtab);
    EXPECT_TRUE(d.combo->hasFocus());

    // Without automatic selection the typed text stays, even when it names an item.
    d.combo->m_bAutoSelect = false;
    d.Edit().selectAll();
    QTest::keyClicks(d.combo, "Gamma");
    QTest::keyClick(d.combo, Qt::Key_Return);
    QTest::keyClick(d.combo, Qt::Key_Tab);
    EXPECT_EQ(d.Edit().text(), "Gamma");
    EXPECT_EQ(d.combo->currentIndex(), -1);
    EXPECT_EQ(d.Take(), (Codes{kDbl}));
}

TEST(ExComboBoxTest, ListReportsEachSelectionOnceAndEscapeConfirmsATypedOne)
{
    Dialog d;
    QAbstractItemView& view = *d.combo->view();
    const auto pick = [&](int row) {
        QTest::keyClick(d.combo, Qt::Key_Down);
        EXPECT_TRUE(view.isVisible());
        const QRect item = view.visualRect(view.model()->index(row, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, item.center());
        QApplication::processEvents();
        EXPECT_FALSE(view.isVisible());
    };
    pick(1);
    EXPECT_EQ(d.combo->GetSelectedText(), "Beta");
    EXPECT_EQ(d.Take(), (Codes{kSel, kOk}));
    pick(1);
    EXPECT_EQ(d.Take(), (Codes{}));

    // A selection by typing stays pending; cancelling the list confirms it.
    d.Edit().selectAll();
    QTest::keyClick(d.combo, Qt::Key_G);
    EXPECT_EQ(d.Take(), (Codes{kSel}));
    QTest::keyClick(d.combo, Qt::Key_Down);
    ASSERT_TRUE(view.isVisible());
    QTest::keyClick(&view, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(d.Take(), (Codes{kOk}));
    // Nothing is pending any more: a second cancel reports nothing.
    QTest::keyClick(d.combo, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(d.Take(), (Codes{}));

    // Opening the list selects the item that begins with the longest part of the text.
    d.combo->m_bAutoComplete = false;
    d.Edit().selectAll();
    QTest::keyClicks(d.combo, "alx");
    d.Take();
    QTest::keyClick(d.combo, Qt::Key_Down);
    EXPECT_EQ(d.combo->currentIndex(), 0);
    EXPECT_EQ(d.Take(), (Codes{kSel}));
    QTest::keyClick(&view, Qt::Key_Escape);
    QApplication::processEvents();

    // The wheel and Up step through the items with the list closed: each step is a change,
    // and only Enter confirms where they stopped.
    d.combo->setCurrentIndex(0);
    QWheelEvent wheel(QPointF(5, 5), d.combo->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(d.combo, &wheel);
    EXPECT_EQ(d.combo->currentIndex(), 1);
    EXPECT_EQ(d.Take(), (Codes{kSel}));
    QTest::keyClick(d.combo, Qt::Key_Up);
    EXPECT_EQ(d.combo->currentIndex(), 0);
    EXPECT_EQ(d.Take(), (Codes{kSel}));
    QTest::keyClick(d.combo, Qt::Key_Return);
    EXPECT_EQ(d.Take(), (Codes{kOk, kDbl}));
}

TEST(ExComboBoxTest, DisabledComboShowsItsTextReadableAndReadOnly)
{
    for (const auto kind : {CExComboBox::kDropDown, CExComboBox::kDropDownList}) {
        SCOPED_TRACE(kind);
        Dialog d(kind);
        QLabel label("&Map:", &d.dialog);
        label.setBuddy(d.combo);
        d.combo->setCurrentIndex(1);
        const auto overlays = [&] {
            std::vector<QLineEdit*> found;
            for (QLineEdit* edit : d.dialog.findChildren<QLineEdit*>())
                if (edit != d.combo->lineEdit() && edit->isVisible())
                    found.push_back(edit);
            return found;
        };
        EXPECT_TRUE(overlays().empty());
        d.combo->setEnabled(false);
        ASSERT_EQ(overlays().size(), 1u);
        QLineEdit& overlay = *overlays().front();
        EXPECT_TRUE(overlay.isEnabled());
        EXPECT_TRUE(overlay.isReadOnly());
        EXPECT_EQ(overlay.text(), "Beta");
        EXPECT_TRUE(d.combo->geometry().contains(overlay.geometry()));
        d.combo->setCurrentIndex(2);
        EXPECT_EQ(overlay.text(), "Gamma");
        // A screen reader on the field hears the combo's name and value.
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(&overlay);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(QAccessible::Name), "Map:");
        EXPECT_EQ(field->text(QAccessible::Value), "Gamma");
        QTest::mouseClick(&overlay, Qt::LeftButton, {}, overlay.rect().center());
        QTest::keyClick(&overlay, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&overlay, Qt::Key_X);
        EXPECT_EQ(overlay.text(), "Gamma");
        EXPECT_EQ(overlay.selectedText(), "Gamma");
        d.combo->setEnabled(true);
        EXPECT_TRUE(overlays().empty());
    }
}

} // namespace
