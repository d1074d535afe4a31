#pragma once
// tyld-render's work: load the file as the viewer does, lay it out for the printer and
// write the chosen pages as PDF, PNG images or text.
#include <iosfwd>

#include "pages/workspace.h"
#include "render/render_options.h"

namespace tyld::render {

enum ExitCode { kDone = 0, kUsageError = 2, kNothingToPrint = 3, kNotWritable = 4 };

// Runs one rendering on the workspace's settings, document and printer; messages go to
// `err`, text output to `out` when the path is "-".
int RunRender(const RenderOptions& options, const pages::Workspace& workspace, std::ostream& out, std::ostream& err);

}  // namespace tyld::render
