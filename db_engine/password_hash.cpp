#include "db_engine/password_hash.h"

#include <sodium.h>

#include "db_engine/errors.h"

namespace engine {
namespace {

// About 10 ms per verify: the check guards access through the engine, it is not encryption.
constexpr unsigned long long kOperations = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr std::size_t kMemory = 8u * 1024u * 1024u;

void initialiseSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw EngineError(code::General, "The password library cannot be initialised");
}

}  // namespace

std::string hashPassword(const std::string& password) {
  initialiseSodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(), kOperations, kMemory) != 0) {
    throw EngineError(code::General, "Out of memory while hashing a password");
  }
  return hash;
}

bool verifyPassword(const std::string& hash, const std::string& password) {
  initialiseSodium();
  return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace engine
