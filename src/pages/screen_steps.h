#pragma once
// The dialog steps both screens take around their own page unit: the page to show, the
// print range, the font dialog and the screen font with its fallbacks.
#include <QWidget>
#include <optional>

#include "pages/page_dialogs.h"
#include "platform/screen_font.h"
#include "settings/page_format.h"

namespace tyld::pages {

// "有効なデータがありません。" when there are no pages; otherwise GoToPageDialog. The page to show
// (0-based, within the document) after OK.
std::optional<int> AskPageToShow(QWidget* view, int currentPage, int pageCount);

// The same refusal; otherwise PrintRangeDialog. The range after OK, clamped to 1..page count so
// no page outside the document is ever drawn.
std::optional<PrintRange> AskPrintRange(QWidget* view, int currentPage, int pageCount, bool colour);

// The font dialog on a screen's font: OK replaces the description and point size; a size
// that gives no character height is reported.
void RunFontDialog(QWidget* view, settings::FontState& font);

// The font part of both screens' titles: "ｽｹｰﾙ=%s◆%sﾋﾟ%gﾎﾟ %s◆" with the scale ("2/1",
// "1/2"), 固 or 変 for a fixed or variable pitch, the point size and the face name.
QString FontStatusText(const settings::FontState& font, bool fixedPitch);

// The screen font of a screen. A size that gives no font resets the font to its defaults
// (the message shows `shownSize`); a scale whose font cannot be made returns to scale 1.
platform::ScreenFont MakeViewFont(QWidget* view, settings::FontState& font, int lineSpacing, int shownSize);

}  // namespace tyld::pages
