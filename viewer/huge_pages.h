#pragma once

#include <cstddef>
#include <vector>

namespace zel {

// Asks the kernel to back the whole 2 MiB pages inside [data, data + bytes) with huge pages
// when it first touches them. A terrain of millions of points fills hundreds of thousands of
// fresh 4 KiB pages, each a trap that a virtual machine makes dear; a huge page is one trap
// for 512 of them. Only advice: where the kernel declines, nothing changes.
void adviseHugePages(void* data, std::size_t bytes);

// `vector.reserve(count)`, with its memory advised as above before anything touches it.
template <typename T> void reserveHugePages(std::vector<T>& vector, std::size_t count) {
    vector.reserve(count);
    adviseHugePages(vector.data(), vector.capacity() * sizeof(T));
}

// A vector of `count` copies of `value` in memory advised as above.
template <typename T> std::vector<T> hugePageVector(std::size_t count, const T& value = T{}) {
    std::vector<T> vector;
    reserveHugePages(vector, count);
    vector.resize(count, value);
    return vector;
}

} // namespace zel
