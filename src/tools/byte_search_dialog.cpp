#include "tools/byte_search_dialog.h"

#include <QLineEdit>

#include "tools/dialog_support.h"
#include "search/hex_text.h"

namespace tyld::tools {
namespace {

EntryColourLayout ByteLayout() {
  EntryColourLayout l;
  l.caption = QStringLiteral("サーチバイト指定");
  l.editHeader = {QStringLiteral("サーチバイトデータ（16進表記）"), QStringLiteral("大小文字区別なし")};
  l.colourHeader = {QStringLiteral("表示色")};
  l.notes = {QStringLiteral("一致するバイトを指定色で表示します。")};
  l.editSuffix = QStringLiteral("H");
  return l;
}

std::array<QString, 4> StoredBytes(const search::ByteSearchState& state) {
  std::array<QString, 4> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = Q(search::HexByteText(state.SearchByte[i]));
  return texts;
}

}  // namespace

ByteSearchDialog::ByteSearchDialog(search::ByteSearchState& state, QWidget* parent)
    : EntryColourDialog(ByteLayout(), StoredBytes(state), state.ByteColour, parent), state_(state) {
  for (int i = 0; i < search::kByteSearchEntries; ++i) {
    MakeHexEdit(Edit(i), 2, false);
    Edit(i)->setAlignment(Qt::AlignCenter);
  }
}

void ByteSearchDialog::accept() {
  search::ByteSearchRequest request;
  for (int i = 0; i < search::kByteSearchEntries; ++i) {
    request.text[static_cast<std::size_t>(i)] = Sjis(Edit(i)->text());
    request.colour[static_cast<std::size_t>(i)] = Colour(i);
  }
  if (const std::optional<search::Notice> refused = search::ConfirmByteSearch(request, state_)) {
    ShowNotice(this, *refused);
    return;
  }
  QDialog::accept();
}

}  // namespace tyld::tools
