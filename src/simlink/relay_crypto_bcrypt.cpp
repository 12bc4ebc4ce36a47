#ifdef _WIN32

#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include "simlink/relay_crypto.h"

namespace orv {

namespace {

bool Ok(NTSTATUS status) {
  return status >= 0;
}

// The algorithm handle for HMAC-SHA-256, opened once for the process.
BCRYPT_ALG_HANDLE Hmac_Algorithm() {
  static const BCRYPT_ALG_HANDLE algorithm = [] {
    BCRYPT_ALG_HANDLE h = nullptr;
    if (!Ok(BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA256_ALGORITHM, nullptr,
                                        BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
      h = nullptr;
    }
    return h;
  }();
  return algorithm;
}

}  // namespace

bool Hmac_Sha256(std::span<const uint8_t> key, std::span<const uint8_t> message,
                 Sha256_Digest& out) {
  const BCRYPT_ALG_HANDLE algorithm = Hmac_Algorithm();
  if (algorithm == nullptr || key.size() > 0xFFFFFFFFu || message.size() > 0xFFFFFFFFu) {
    return false;
  }
  static UCHAR no_key = 0;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool ok = Ok(BCryptCreateHash(algorithm, &hash, nullptr, 0,
                                key.empty() ? &no_key : const_cast<PUCHAR>(key.data()),
                                static_cast<ULONG>(key.size()), 0));
  ok = ok && Ok(BCryptHashData(hash, const_cast<PUCHAR>(message.data()),
                               static_cast<ULONG>(message.size()), 0));
  ok = ok && Ok(BCryptFinishHash(hash, out.data(), static_cast<ULONG>(out.size()), 0));
  if (hash != nullptr) BCryptDestroyHash(hash);
  return ok;
}

bool Random_Bytes(std::span<uint8_t> out) {
  return out.size() <= 0xFFFFFFFFu &&
         Ok(BCryptGenRandom(nullptr, out.data(), static_cast<ULONG>(out.size()),
                            BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

}  // namespace orv

#endif  // _WIN32
