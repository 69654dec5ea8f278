#include <windows.h>
#include <bcrypt.h>


#include "common/errors.h"
#include "records/sha256.h"

namespace zorvan {

namespace {

// Closes CNG's algorithm provider and hash object whatever happens.
struct HashObjects {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~HashObjects() {
    if (hash) BCryptDestroyHash(hash);
    if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

}  // namespace

std::string Sha256Hex(const std::string& bytes) {
  HashObjects h;
  UCHAR digest[32];
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&h.algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
      !BCRYPT_SUCCESS(BCryptCreateHash(h.algorithm, &h.hash, nullptr, 0, nullptr, 0, 0)) ||
      !BCRYPT_SUCCESS(BCryptHashData(h.hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                     static_cast<ULONG>(bytes.size()), 0)) ||
      !BCRYPT_SUCCESS(BCryptFinishHash(h.hash, digest, sizeof digest, 0))) {
    throw Exception("SHA-256 could not be computed");
  }
  return LowerHex(digest, sizeof digest);
}

}  // namespace zorvan
