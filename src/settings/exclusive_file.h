#pragma once
// A file opened for reading and writing that no other opener shares while it is open;
// created empty when missing. Closed by the destructor.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tyld::settings {

class ExclusiveFile {
 public:
  ExclusiveFile() = default;
  ~ExclusiveFile();
  ExclusiveFile(const ExclusiveFile&) = delete;
  ExclusiveFile& operator=(const ExclusiveFile&) = delete;

  // False when the file cannot be opened or created, or another opener holds it.
  bool Open(const std::string& utf8Path);
  [[nodiscard]] std::int64_t Size() const;  // -1 on failure
  // Reads up to n bytes from offset 0; the count read.
  std::size_t ReadAtStart(void* buffer, std::size_t n);
  // Writes n bytes at offset 0; the count written.
  std::size_t WriteAtStart(const void* buffer, std::size_t n);
  // Cuts or extends the file to n bytes; false on failure.
  bool Resize(std::int64_t n);
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace tyld::settings
