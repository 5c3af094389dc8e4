// BLAKE3 of a text, in hexadecimal.
#include "hash/canonical.hpp"

#include <blake3.h>

#include <cstdint>

namespace ostrel {

std::string blake3_hex(std::string_view bytes) {
    blake3_hasher hasher;
    blake3_hasher_init(&hasher);
    blake3_hasher_update(&hasher, bytes.data(), bytes.size());
    std::uint8_t digest[BLAKE3_OUT_LEN];
    blake3_hasher_finalize(&hasher, digest, BLAKE3_OUT_LEN);
    static const char kHex[] = "0123456789abcdef";
    std::string hex(2 * BLAKE3_OUT_LEN, '0');
    for (std::size_t i = 0; i < BLAKE3_OUT_LEN; ++i) {
        hex[2 * i] = kHex[digest[i] >> 4];
        hex[2 * i + 1] = kHex[digest[i] & 0xF];
    }
    return hex;
}

}  // namespace ostrel
