#pragma once
// Salted password verifiers (libsodium's crypto_pwhash_str), cheap enough to check at every open.
#include <string>

namespace engine {

std::string hashPassword(const std::string& password);
bool verifyPassword(const std::string& hash, const std::string& password);

}  // namespace engine
