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
void ExpectColourCombos(const Dialog& dlg, std::initializer_list<int> ids, std::initializer_list<int> selected) {
  auto sel = selected.begin();
  for (int id : ids) {
    auto* combo = dlg.template Control<QComboBox>(id);
    ASSERT_NE(combo, nullptr) << id;
    ASSERT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("通常色"));
    EXPECT_EQ(combo->itemText(4), QStringLiteral("青"));
    EXPECT_EQ(combo->currentIndex(), *sel++) << id;
  }
}

TEST(StringSearchDialog, ShowsStoredStateAndStoresTrimmedTextsOnOk) {
  search::StringSearchState state;
  ASSERT_FALSE(search::ConfirmStringSearch({{"ab", "", "", ""}, {1, 0, 0, 0}}, state));
  state.SearchColour[2] = 9;  // out of range: shown as 通常色
  StringSearchDialog dlg(state);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("文字列サーチ"));
  EXPECT_EQ(dlg.pos(), QPoint(500, 100));
  EXPECT_EQ(dlg.Control<QLineEdit>(298)->text(), QStringLiteral("ab"));
  ExpectColourCombos(dlg, {312, 313, 314, 315}, {1, 0, 0, 0});

  dlg.Control<QLineEdit>(299)->setText(QStringLiteral("  日本   "));
  dlg.Control<QComboBox>(313)->setCurrentIndex(4);
  ScopedMessageBoxRecorder boxes;
  dlg.Control<QPushButton>(1)->click();
  EXPECT_TRUE(boxes.Calls().empty());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(state.Text(1), "  \x93\xfa\x96\x7b");  // Shift-JIS, leading spaces kept, trailing dropped
  EXPECT_EQ(state.SearchColour[1], 4);
}

TEST(StringSearchDialog, ColourWithoutTextIsRefusedAndTheDialogStaysOpen) {
  search::StringSearchState state;
  StringSearchDialog dlg(state);
  testing_support::OpenActive(dlg);
  dlg.Control<QLineEdit>(298)->setText(QStringLiteral("x"));
  dlg.Control<QComboBox>(314)->setCurrentIndex(2);  // third entry has no text
  ScopedMessageBoxRecorder boxes;
  dlg.Control<QPushButton>(1)->click();
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
  dlg.Control<QLineEdit>(298)->setText(QStringLiteral("x"));
  dlg.Control<QComboBox>(312)->setCurrentIndex(1);
  dlg.Control<QPushButton>(2)->click();
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
      dlg, {dlg.Control<QLineEdit>(298), dlg.Control<QLineEdit>(299), dlg.Control<QLineEdit>(300), dlg.Control<QLineEdit>(301)},
      dlg.Control<QPushButton>(1));
}

TEST(ByteSearchDialog, ShowsBytesAsTwoDigitsAndStoresParsedValues) {
  search::ByteSearchState state;
  state.SearchByte = {0x0A, 0, 0xFF, 0};
  state.ByteColour = {1, 0, -3, 0};
  ByteSearchDialog dlg(state);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("サーチバイト指定"));
  EXPECT_EQ(dlg.pos(), QPoint(500, 100));
  EXPECT_EQ(dlg.Control<QLineEdit>(1038)->text(), QStringLiteral("0A"));
  EXPECT_EQ(dlg.Control<QLineEdit>(1039)->text(), QStringLiteral("00"));
  EXPECT_EQ(dlg.Control<QLineEdit>(1040)->text(), QStringLiteral("FF"));
  ExpectColourCombos(dlg, {308, 309, 310, 311}, {1, 0, 0, 0});

  // Typed input: at most two hexadecimal digits, shown in upper case.
  QLineEdit* second = dlg.Control<QLineEdit>(1039);
  second->clear();
  QTest::keyClicks(second, "0dzq7");
  EXPECT_EQ(second->text(), QStringLiteral("0D"));
  dlg.Control<QLineEdit>(1040)->setText(QStringLiteral("a"));
  dlg.Control<QComboBox>(309)->setCurrentIndex(3);
  dlg.Control<QPushButton>(1)->click();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(state.SearchByte, (std::array<std::uint8_t, 4>{0x0A, 0x0D, 0x0A, 0}));
  EXPECT_EQ(state.ByteColour, (std::array<std::int32_t, 4>{1, 3, 0, 0}));
  EXPECT_EQ(state.ByteSearchActive, 1);
}

TEST(ByteSearchDialog, ColourWithoutByteIsRefused) {
  search::ByteSearchState state;
  ByteSearchDialog dlg(state);
  testing_support::OpenActive(dlg);
  QLineEdit* last = dlg.Control<QLineEdit>(1041);
  last->clear();
  dlg.Control<QComboBox>(311)->setCurrentIndex(1);
  ScopedMessageBoxRecorder boxes;
  dlg.Control<QPushButton>(1)->click();
  ASSERT_EQ(boxes.Calls().size(), 1u);
  EXPECT_EQ(boxes.Calls()[0].text, QStringLiteral("未定義キャラクタがあります。"));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(state.ByteSearchActive, 0);
  last->setText(QStringLiteral("0"));
  dlg.Control<QLineEdit>(1038)->setFocus();
  testing_support::ExpectEditWalk(dlg,
                                  {dlg.Control<QLineEdit>(1038), dlg.Control<QLineEdit>(1039),
                                   dlg.Control<QLineEdit>(1040), dlg.Control<QLineEdit>(1041)},
                                  dlg.Control<QPushButton>(1));
}

}  // namespace
}  // namespace tyld::tools
