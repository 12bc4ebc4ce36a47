// The two pieces of cryptography the relay's hello needs, from the platform's own well-kept
// library: OpenSSL's libcrypto on Linux, the system's BCrypt on Windows (one file each).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace orv {

using Sha256_Digest = std::array<uint8_t, 32>;

// HMAC-SHA-256 of the message under the key. False when the library failed.
bool Hmac_Sha256(std::span<const uint8_t> key, std::span<const uint8_t> message,
                 Sha256_Digest& out);

// Fills the bytes from the system's random source, fit for challenges. False when it failed.
bool Random_Bytes(std::span<uint8_t> out);

}  // namespace orv
