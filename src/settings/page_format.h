#pragma once
// The live page-format and font states of the two screens: what the settings record
// stores, and the binary screen's two live-only values. What a layout computes from them
// is the layout's own value (ascii/ascii_layout.h, binary/binary_layout.h).
#include <cstdint>

#include "platform/font_description.h"

namespace tyld::settings {

// How a screen's pages stand on the paper; the settings file stores the code.
enum class Orientation : std::int32_t { Portrait = 1, Landscape = 2 };

// A stored code as an orientation: 2 is landscape, anything else portrait.
constexpr Orientation OrientationFromCode(std::int32_t code) {
  return code == 2 ? Orientation::Landscape : Orientation::Portrait;
}

// Printer non-printable margins, mm; one set shared by both screens.
struct UnprintMargins {
  std::int32_t top = 5, bottom = 5, left = 5, right = 5;
};

struct AsciiPageFormat {
  // stored; chars per line and lines per page are the layout's maxima, which the file
  // carries (ascii::ApplyLayoutLimits)
  std::int32_t AscMarginTop = 10;
  std::int32_t AscMarginBottom = 5;
  std::int32_t AscMarginLeft = 10;
  std::int32_t AscColumnGap = 5;
  std::int32_t AscLineSpacing = 0;  // tenths of the character height, down to -10
  std::int32_t AscDateMode = 1;
  std::int32_t AscPageNoMode = 2;
  std::int32_t AscLineNoMode = 1;
  std::int32_t AscFileNameMode = 1;
  std::int32_t AscColumns = 1;
  std::int32_t AscCharsPerLine = 80;
  std::int32_t AscLinesPerPage = 80;
  std::int32_t AscTabWidth = 8;
};

struct BinaryPageFormat {
  // stored; blocks per column and columns are bounded by the layout, and the file carries
  // them so bounded (binary::ApplyLayoutLimits)
  std::int32_t BinMarginTop = 10;
  std::int32_t BinMarginBottom = 5;
  std::int32_t BinMarginLeft = 10;
  std::int32_t BinColumnGap = 5;
  std::int32_t BinLineSpacing = 0;
  std::int32_t BinDateMode = 1;
  std::int32_t BinPageNoMode = 2;
  std::int32_t BinFileNameMode = 1;
  std::int32_t BinColumns = 1;
  std::int32_t BinBlocksPerColumn = 1;
  std::int32_t BinCrLfMark = 0;  // 0 "↓", 1 "．．", 2 "←", 3 space
  std::int32_t BinHexCase = 0;   // 0 upper, 1 lower
  // live only, reset to 5 at every start and by the page-format reset
  std::int32_t BinBlockGap = 5;
  std::int32_t BinCharsPerLine = 80;  // never changed by the binary screen ("CW80")
};

// The 60-byte font-choice block, laid out as the settings file has it.
struct FontChoice {
  std::uint32_t structSize = 60;
  std::uint32_t owner = 0;
  std::uint32_t dc = 0;
  std::uint32_t logFontPtr = 0;
  std::int32_t pointSize = 80;  // tenths of a point
  std::uint32_t flags = 0x141;
  std::uint32_t color = 0;
  std::uint8_t misc[20] = {};
  std::uint16_t fontType = 0x2000;
  std::uint16_t align = 0;
  std::int32_t sizeMin = 0;
  std::int32_t sizeMax = 0;
};
static_assert(sizeof(FontChoice) == 60);

// One screen's font: description, choice block and display scale.
struct FontState {
  platform::FontDescription logFont = DefaultLogFont();
  FontChoice choice{};
  double scale = 1.0;

  [[nodiscard]] int PointTenths() const { return choice.pointSize; }
  static platform::FontDescription DefaultLogFont() {
    platform::FontDescription f;
    f.SetFace(platform::kDefaultFaceSjis);
    return f;
  }
};

// The live state both screens read and change; one instance, owned by the settings folder.
struct LiveSettings {
  UnprintMargins unprint;
  AsciiPageFormat ascii;
  BinaryPageFormat binary;
  FontState asciiFont;
  FontState binaryFont;
  Orientation AscOrientation = Orientation::Portrait;
  Orientation BinOrientation = Orientation::Landscape;
  // Not in the record: kept in the INI file beside it (side_options.h).
  bool AscLineBreakRules = false;
};

}  // namespace tyld::settings
