#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <climits>

#include "simlink/relay_crypto.h"

namespace orv {

bool Hmac_Sha256(std::span<const uint8_t> key, std::span<const uint8_t> message,
                 Sha256_Digest& out) {
  if (key.size() > INT_MAX) return false;
  // HMAC() wants a non-null key pointer even for an empty key.
  static const uint8_t kNoKey = 0;
  unsigned int length = 0;
  const unsigned char* done =
      HMAC(EVP_sha256(), key.empty() ? &kNoKey : key.data(), static_cast<int>(key.size()),
           message.data(), message.size(), out.data(), &length);
  return done != nullptr && length == out.size();
}

bool Random_Bytes(std::span<uint8_t> out) {
  return out.size() <= INT_MAX && RAND_bytes(out.data(), static_cast<int>(out.size())) == 1;
}

}  // namespace orv
