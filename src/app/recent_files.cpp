#include "app/recent_files.h"

#include <QSettings>

namespace tyld::app {
namespace {
const char* const kKey = "RecentFileList";
}

RecentFiles::RecentFiles() {
  QSettings store;
  entries_ = store.value(kKey).toStringList();
  while (entries_.size() > kMax) entries_.removeLast();
}

void RecentFiles::Add(const QString& path) {
  entries_.removeAll(path);
  entries_.prepend(path);
  while (entries_.size() > kMax) entries_.removeLast();
  Save();
}

void RecentFiles::Save() const {
  QSettings store;
  store.setValue(kKey, entries_);
}

}  // namespace tyld::app
