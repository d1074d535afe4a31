// The two modal search dialogs: what they show from the stored state, what OK stores,
// the refusal that keeps them open, and the keyboard walk.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "../pages/dialog_test_support.h"
#include "platform/message_box.h"
#include "tools/byte_search_dialog.h"
#include "tools/string_search_dialog.h"

namespace tyld::tools {
namespace {

using platform::ScopedMessageBoxRecorder;

template <class Dialog>
void ExpectColourCombos(const Dialog& dlg, std::initializer_list<int> selected) {
  auto sel = selected.begin();
  for (int i = 0; i < 4; ++i) {
    auto* combo = dlg.template findChild<QComboBox*>(QStringLiteral("colour%1").arg(i));
    ASSERT_NE(combo, nullptr) << i;
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("通常色"));
    EXPECT_EQ(combo->itemText(4), QStringLiteral("青"));
    EXPECT_EQ(combo->currentIndex(), *sel++) << i;
  }
}

TEST(StringSearchDialog, ShowsStoredStateAndStoresTrimmedTextsOnOk) {
  search::StringSearchState state;
  ASSERT_FALSE(search::ConfirmStringSearch({{"ab", "", "", ""}, {1, 0, 0, 0}}, state));
  state.SearchColour[2] = 9;  // out of range: shown as 通常色
  StringSearchDialog dlg(state);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("文字列サーチ"));
  EXPECT_EQ(dlg.pos(), QPoint(500, 100));
  EXPECT_EQ(dlg.findChild<QLineEdit*>("text0")->text(), QStringLiteral("ab"));
  ExpectColourCombos(dlg, {1, 0, 0, 0});

  dlg.findChild<QLineEdit*>("text1")->setText(QStringLiteral("  日本   "));
  dlg.findChild<QComboBox*>("colour1")->setCurrentIndex(4);
  ScopedMessageBoxRecorder boxes;
  dlg.findChild<QPushButton*>("ok")->click();
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(state.Text(1), "  \x93\xfa\x96\x7b");  // Shift-JIS, leading spaces kept, trailing dropped
  EXPECT_EQ(state.SearchColour[1], 4);
}

TEST(StringSearchDialog, ColourWithoutTextIsRefusedAndTheDialogStaysOpen) {
  search::StringSearchState state;
  StringSearchDialog dlg(state);
  testing_support::OpenActive(dlg);
  dlg.findChild<QLineEdit*>("text0")->setText(QStringLiteral("x"));
  dlg.findChild<QComboBox*>("colour2")->setCurrentIndex(2);  // third entry has no text
  ScopedMessageBoxRecorder boxes;
  dlg.findChild<QPushButton*>("ok")->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("未定義キャラクタがあります。"));
  EXPECT_EQ(boxes.Calls()[0].caption, QStringLiteral("確認"));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(state.SearchColour[2], 2);  // colours are stored before the check
  EXPECT_EQ(state.SearchLength[0], 0);  // texts are not
}

TEST(StringSearchDialog, CancelStoresNothing) {
  search::StringSearchState state;
  StringSearchDialog dlg(state);
  dlg.findChild<QLineEdit*>("text0")->setText(QStringLiteral("x"));
  dlg.findChild<QComboBox*>("colour0")->setCurrentIndex(1);
  dlg.findChild<QPushButton*>("cancel")->click();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(state.SearchColour[0], 0);
  EXPECT_EQ(state.SearchLength[0], 0);
}

TEST(StringSearchDialog, KeyboardWalk) {
  search::StringSearchState state;
  for (int i = 0; i < search::kStringSearchEntries; ++i) state.SearchText[static_cast<std::size_t>(i)][0] = 'a';
  state.SearchLength = {1, 1, 1, 1};
  StringSearchDialog dlg(state);
  testing_support::OpenActive(dlg);
  testing_support::ExpectEditWalk(
      dlg, {dlg.findChild<QLineEdit*>("text0"), dlg.findChild<QLineEdit*>("text1"), dlg.findChild<QLineEdit*>("text2"), dlg.findChild<QLineEdit*>("text3")},
      dlg.findChild<QPushButton*>("ok"));
}

TEST(ByteSearchDialog, ShowsBytesAsTwoDigitsAndStoresParsedValues) {
  search::ByteSearchState state;
  state.SearchByte = {0x0A, 0, 0xFF, 0};
  state.ByteColour = {1, 0, -3, 0};
  ByteSearchDialog dlg(state);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("サーチバイト指定"));
  EXPECT_EQ(dlg.pos(), QPoint(500, 100));
  EXPECT_EQ(dlg.findChild<QLineEdit*>("text0")->text(), QStringLiteral("0A"));
  EXPECT_EQ(dlg.findChild<QLineEdit*>("text1")->text(), QStringLiteral("00"));
  EXPECT_EQ(dlg.findChild<QLineEdit*>("text2")->text(), QStringLiteral("FF"));
  ExpectColourCombos(dlg, {1, 0, 0, 0});

  // Typed input: at most two hexadecimal digits, shown in upper case.
  QLineEdit* second = dlg.findChild<QLineEdit*>("text1");
  second->clear();
  QTest::keyClicks(second, "0dzq7");
  EXPECT_EQ(second->text(), QStringLiteral("0D"));
  dlg.findChild<QLineEdit*>("text2")->setText(QStringLiteral("a"));
  dlg.findChild<QComboBox*>("colour1")->setCurrentIndex(3);
  dlg.findChild<QPushButton*>("ok")->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(state.SearchByte, (std::array<std::uint8_t, 4>{0x0A, 0x0D, 0x0A, 0}));
  EXPECT_EQ(state.ByteColour, (std::array<std::int32_t, 4>{1, 3, 0, 0}));
  EXPECT_EQ(state.ByteSearchActive, 1);
}

TEST(ByteSearchDialog, ColourWithoutByteIsRefused) {
  search::ByteSearchState state;
  ByteSearchDialog dlg(state);
  testing_support::OpenActive(dlg);
  QLineEdit* last = dlg.findChild<QLineEdit*>("text3");
  last->clear();
  dlg.findChild<QComboBox*>("colour3")->setCurrentIndex(1);
  ScopedMessageBoxRecorder boxes;
  dlg.findChild<QPushButton*>("ok")->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("未定義キャラクタがあります。"));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(state.ByteSearchActive, 0);
  last->setText(QStringLiteral("0"));
  dlg.findChild<QLineEdit*>("text0")->setFocus();
  testing_support::ExpectEditWalk(dlg,
                                  {dlg.findChild<QLineEdit*>("text0"), dlg.findChild<QLineEdit*>("text1"),
                                   dlg.findChild<QLineEdit*>("text2"), dlg.findChild<QLineEdit*>("text3")},
                                  dlg.findChild<QPushButton*>("ok"));
}

}  // namespace
}  // namespace tyld::tools
