#include <openssl/evp.h>

#include "common/errors.h"
#include "records/sha256.h"

namespace zorvan {

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr)) {
    throw Exception("SHA-256 could not be computed");
  }
  return LowerHex(digest, length);
}

}  // namespace zorvan
