#pragma once
// Several inputs in one call of tyld-render: each is rendered on its own, as if it had been
// given alone, and the call ends with the worst status of them all.
#include <iosfwd>

#include "pages/workspace.h"
#include "render/render_options.h"

namespace tyld::render {

// Renders every input of `options.files` in turn ("-" reads `in`) on the workspace, each
// from the settings it held at the start; returns the highest exit status of them all, or
// a usage error found before anything is rendered.
int RunRenderBatch(const RenderOptions& options, const pages::Workspace& workspace, std::istream& in,
                   std::ostream& out, std::ostream& err);

}  // namespace tyld::render
