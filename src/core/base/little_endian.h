#pragma once
// Little-endian integer fields of the binary files the program reads and
// writes (backup headers, version-1 prayer records).
#include <cstdint>

namespace kovara::core {

// Writes the low `bytes` bytes of value at `at`, least significant first.
inline void putLittleEndian(unsigned char* at, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Reads `bytes` bytes at `at`, least significant first.
inline std::uint64_t littleEndian(const unsigned char* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    return value;
}

} // namespace kovara::core
