#pragma once
// Fonts from stored descriptions: the MS faces are mapped to metric-compatible installed
// fonts, and fixed-pitch fonts are measured on half-width cells.
#include <QFont>
#include <QString>

#include "platform/canvas.h"
#include "platform/font_description.h"

class QPaintDevice;

namespace tyld::platform {

// Maps the MS faces to the IPA fonts (then Noto Sans Mono CJK JP). Call once at start.
void InstallFontSubstitutions();

// The face name of a description as a QString (the stored bytes are Shift-JIS).
QString FaceName(const FontDescription& font);
// A FontDescription of the given face (UTF-16), everything else zero.
FontDescription MakeLogFont(const QString& face, int height);

// The QFont for a description, sized for the device's resolution (pixel height |lfHeight|).
QFont ToQFont(const FontDescription& font);
// The metrics of a font on a device (nullptr: the screen).
FontMetrics MeasureFont(const QFont& font, QPaintDevice* device);

// A FontDescription from a QFont chosen in a font dialog (pixel height from the point size
// at the given vertical resolution); the point size in tenths goes to *tenths.
FontDescription FromQFont(const QFont& font, int dpiY, int* tenths);

}  // namespace tyld::platform
