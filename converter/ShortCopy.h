// Copies of a few chars, as most pieces of a row and most cells are, without a call.
#pragma once

#include <cstddef>
#include <cstring>

// Up to 16 chars as two copies of one length that overlap in the middle; more through memcpy.
inline void CopyChars(char* to, const char* from, std::size_t size) {
    if (size >= 8 && size <= 16) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4 && size < 8) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size > 0 && size < 4) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    } else if (size > 16) {
        std::memcpy(to, from, size);
    }
}
