#pragma once
// An allocator for the big per-document buffers. Its memory comes zeroed from the system,
// so a fresh block needs no fill pass, and pages never written (marks nobody set) cost no
// memory. Blocks of several megabytes are mapped directly so they go back to the system
// at once when released. Growing an existing vector must pass an explicit value (resize(n, 0)): bytes
// between size and capacity of a reused allocation are not guaranteed zero.
#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace tyld::platform {

inline constexpr std::size_t kLargeBlockBytes = std::size_t{4} << 20;

inline void* AllocateLargeZeroed(std::size_t bytes) {
#ifndef _WIN32
  if (bytes >= kLargeBlockBytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
  }
#endif
  return std::calloc(bytes == 0 ? 1 : bytes, 1);
}

inline void FreeLarge(void* p, std::size_t bytes) noexcept {
#ifndef _WIN32
  if (bytes >= kLargeBlockBytes) {
    munmap(p, bytes);
    return;
  }
#else
  (void)bytes;
#endif
  std::free(p);
}

template <class T>
struct LargeBlockAllocator {
  using value_type = T;
  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* p = AllocateLargeZeroed(n * sizeof(T));
    if (p == nullptr) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t n) noexcept { FreeLarge(p, n * sizeof(T)); }
  // Default-initialise: leaves the system's zero in place instead of writing it again.
  template <class U>
  void construct(U* p) noexcept(noexcept(::new(static_cast<void*>(p)) U)) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const LargeBlockAllocator&, const LargeBlockAllocator&) { return true; }
};

}  // namespace tyld::platform
