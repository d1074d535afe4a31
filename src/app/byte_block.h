#pragma once
// A byte vector whose storage comes zeroed from the allocator, so a fresh block needs no
// fill pass: a 1 GB file is read straight into it and only the tail stays as allocated.
// Growing an existing vector must pass an explicit value (resize(n, 0)): bytes between
// size and capacity of a reused allocation are not guaranteed zero.
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace tyld::app {

template <class T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    void* p = std::calloc(n, sizeof(T));
    if (p == nullptr) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) noexcept { std::free(p); }
  // Default-initialise: leaves the calloc'd zero in place instead of writing it again.
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

using ByteBlock = std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>>;

}  // namespace tyld::app
