#pragma once
// Profile (INI) files with the semantics the program's settings rely on: sections and keys
// match without regard to case, a missing file or key yields the caller's default, and writing
// keeps every other line of the file.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Longest value a read returns; longer values are cut (the reader's buffer holds 2048 characters).
inline constexpr std::size_t kProfileValueLimit = 2047;

// Returns the value of key in section, or fallback when the file, section or key is missing.
// Surrounding blanks of the value are dropped; the result is cut to kProfileValueLimit characters.
std::string readProfileString(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view fallback);

// Reads the value as an integer: decimal, or hexadecimal after "0x"; text that is no integer
// (a word) counts as missing and yields fallback.
long long readProfileInteger(const std::string& file, std::string_view section, std::string_view key,
                             long long fallback);

// Writes key=value in section, creating the file and the section when missing and keeping the
// rest of the file. Returns false when the file cannot be written.
bool writeProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

// Every key=value line of the first section of that name, in file order (values cut and trimmed
// as by readProfileString); empty when the file or section is missing.
std::vector<std::pair<std::string, std::string>> readProfileSection(const std::string& file,
                                                                    std::string_view section);

}  // namespace platform
