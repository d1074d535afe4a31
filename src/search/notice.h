#pragma once
// What a search step asks its dialog to show: a message box text and caption (UTF-8).
#include <string>
#include <string_view>

namespace tyld::search {

struct Notice {
  std::string text;
  std::string_view caption;
  friend bool operator==(const Notice&, const Notice&) = default;
};

inline constexpr std::string_view kCaptionConfirm = "確認";
inline constexpr std::string_view kCaptionCannotSearch = "サーチできません";

// Commands that search the loaded data refuse when nothing is loaded.
inline const Notice kNoFileLoaded{"ファイルが読み出されていません", kCaptionCannotSearch};
// A colour was chosen for an entry whose text is empty.
inline const Notice kUndefinedCharacter{"未定義キャラクタがあります。", kCaptionConfirm};

}  // namespace tyld::search
