#pragma once
// The four most recently opened files, kept in the per-user profile store.
#include <QString>
#include <QStringList>

namespace tyld::app {

class RecentFiles {
 public:
  static constexpr int kMax = 4;
  // Loads the list from the profile store.
  RecentFiles();
  [[nodiscard]] const QStringList& Entries() const { return entries_; }
  // Puts the path first (removing an older copy) and saves the list.
  void Add(const QString& path);

 private:
  void Save() const;
  QStringList entries_;
};

}  // namespace tyld::app
