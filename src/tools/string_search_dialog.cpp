#include "tools/string_search_dialog.h"

#include <QLineEdit>

#include "platform/codepage.h"
#include "tools/dialog_support.h"

namespace tyld::tools {
namespace {

EntryColourLayout StringLayout() {
  EntryColourLayout l;
  l.caption = QStringLiteral("文字列サーチ");
  l.editHeader = {QStringLiteral("サーチ文字列"), QStringLiteral("大文字小文字区別あり")};
  l.colourHeader = {QStringLiteral("表示色")};
  l.notes = {QStringLiteral("任意セルに左づめ 20バイトで指定ください。１バイト以下のときは無視します。"),
             QStringLiteral("一致する文字列を指定色で表示します。"),
             QStringLiteral("サーチ文字列のオーバーラップも可。")};
  return l;
}

std::array<QString, 4> StoredTexts(const search::StringSearchState& state) {
  std::array<QString, 4> texts;
  for (int i = 0; i < search::kStringSearchEntries; ++i)
    texts[static_cast<std::size_t>(i)] = Q(platform::codepage::ToUtf8(state.Text(i)));
  return texts;
}

}  // namespace

StringSearchDialog::StringSearchDialog(search::StringSearchState& state, QWidget* parent)
    : EntryColourDialog(StringLayout(), StoredTexts(state), state.SearchColour, parent), state_(state) {
  // Twenty characters are at least twenty bytes; the stored text keeps the first twenty.
  for (int i = 0; i < search::kStringSearchEntries; ++i) Edit(i)->setMaxLength(search::kSearchTextBytes);
}

void StringSearchDialog::accept() {
  search::StringSearchRequest request;
  for (int i = 0; i < search::kStringSearchEntries; ++i) {
    request.text[static_cast<std::size_t>(i)] = Sjis(Edit(i)->text());
    request.colour[static_cast<std::size_t>(i)] = Colour(i);
  }
  if (const std::optional<search::Notice> refused = search::ConfirmStringSearch(request, state_)) {
    ShowNotice(this, *refused);
    return;
  }
  QDialog::accept();
}

}  // namespace tyld::tools
