#include "render/render_batch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <istream>
#include <iterator>
#include <map>
#include <ostream>

#include "document/command_line.h"
#include "render/render_job.h"
#include "settings/page_format.h"
#include "settings/settings_record.h"

namespace tyld::render {
namespace {

constexpr const char* kStdinName = "stdin";

std::string NameOf(const std::string& input) {
  return input == "-" ? std::string(kStdinName) : std::string(document::FinalComponent(input));
}

// The output one input writes: into --out-dir named after the input, else what RunRender
// derives from --out or the input's name. "" = none (a printer or standard output).
std::string OutputOf(const RenderOptions& o, const std::string& input) {
  const bool printed = !o.printer.empty() && o.format == Format::Pdf;
  if (printed) return {};
  const std::string name = NameOf(input);
  std::string base;
  switch (o.format) {
    case Format::Pdf: base = name + ".pdf"; break;
    case Format::Png: base = name; break;
    case Format::Txt: base = name + ".txt"; break;
    case Format::Decoded: base = name + ".decoded.txt"; break;
  }
  if (!o.outDir.empty()) return QDir(QString::fromStdString(o.outDir)).filePath(QString::fromStdString(base)).toStdString();
  if (!o.out.empty()) return o.out == "-" ? std::string() : o.out;
  return o.format == Format::Pdf || o.format == Format::Png ? base : std::string();
}

}  // namespace

int RunRenderBatch(const RenderOptions& options, const pages::Workspace& workspace, std::istream& in,
                   std::ostream& out, std::ostream& err) {
  // Two inputs of the same name would silently overwrite one output with the other.
  std::map<std::string, std::string> writers;
  for (const std::string& input : options.files) {
    const std::string output = OutputOf(options, input);
    if (output.empty()) continue;
    const auto [it, fresh] = writers.emplace(output, input);
    if (!fresh) {
      err << "tyld-render: '" << it->second << "' and '" << input << "' would both write '" << output << "'\n";
      return kUsageError;
    }
  }
  if (!options.outDir.empty() && !QDir().mkpath(QString::fromStdString(options.outDir))) {
    err << "tyld-render: --out-dir: cannot make '" << options.outDir << "'\n";
    return kNotWritable;
  }

  // Standard input becomes a file named "stdin", so footers and default outputs name it so.
  QTemporaryDir stdinDir;
  std::string stdinPath;
  if (std::find(options.files.begin(), options.files.end(), "-") != options.files.end()) {
    QFile f(stdinDir.filePath(QString::fromLatin1(kStdinName)));
    if (!stdinDir.isValid() || !f.open(QIODevice::WriteOnly)) {
      err << "tyld-render: cannot make a temporary file for standard input\n";
      return kNotWritable;
    }
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
      if (f.write(buf, in.gcount()) != in.gcount()) {
        err << "tyld-render: cannot keep standard input in a temporary file\n";
        return kNotWritable;
      }
    }
    stdinPath = f.fileName().toStdString();
  }

  // Each input starts from the same settings, whatever the one before it laid out.
  const settings::LiveSettings live = workspace.live;
  const settings::SettingsRecord record = workspace.record;
  int worst = kDone;
  for (const std::string& input : options.files) {
    workspace.live = live;
    workspace.record = record;
    RenderOptions one = options;
    one.file = input == "-" ? stdinPath : input;
    if (!options.outDir.empty()) one.out = OutputOf(options, input);
    const int code = RunRender(one, workspace, out, err);
    if (code != kDone && options.files.size() > 1) err << "tyld-render: '" << input << "' ended with status " << code << "\n";
    worst = std::max(worst, code);
  }
  return worst;
}

}  // namespace tyld::render
