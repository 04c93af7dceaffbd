#include "platform/profile_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <optional>

namespace platform {
namespace {

std::string_view trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool equalIgnoringCase(std::string_view left, std::string_view right) {
  return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

// The section a line opens, or nullopt when the line is no section header.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
  const auto trimmed = trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{trim(line.substr(0, equals)), trim(line.substr(equals + 1))};
}

std::vector<std::string> readLines(const std::string& file) {
  std::ifstream input(file, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(input, line)) lines.push_back(line);
  return lines;
}

std::string cut(std::string_view value) { return std::string(value.substr(0, kProfileValueLimit)); }

// Calls visit(key line) for each key line of the first section named section.
template <typename Visit>
void forEachKeyOfSection(const std::vector<std::string>& lines, std::string_view section, Visit visit) {
  bool inside = false;
  bool found = false;
  for (const auto& line : lines) {
    if (const auto name = sectionName(line)) {
      if (found) return;
      inside = equalIgnoringCase(*name, section);
      found = inside;
      continue;
    }
    if (!inside) continue;
    if (const auto entry = keyLine(line)) {
      if (!visit(*entry)) return;
    }
  }
}

std::optional<long long> parseInteger(std::string_view text) {
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  return negative ? -value : value;
}

bool writeLines(const std::string& file, const std::vector<std::string>& lines) {
  const std::string temporary = file + ".tmp";
  {
    std::ofstream output(temporary, std::ios::binary | std::ios::trunc);
    if (!output) return false;
    for (const auto& line : lines) output << line << '\n';
    output.flush();
    if (!output) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), file.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::optional<std::string> findValue(const std::string& file, std::string_view section, std::string_view key) {
  const auto lines = readLines(file);
  std::optional<std::string> result;
  forEachKeyOfSection(lines, section, [&](const KeyLine& entry) {
    if (!equalIgnoringCase(entry.key, key)) return true;
    result = cut(entry.value);
    return false;
  });
  return result;
}

}  // namespace

std::string readProfileString(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view fallback) {
  return findValue(file, section, key).value_or(cut(fallback));
}

long long readProfileInteger(const std::string& file, std::string_view section, std::string_view key,
                             long long fallback) {
  const auto text = findValue(file, section, key);
  if (!text) return fallback;
  return parseInteger(*text).value_or(fallback);
}

bool writeProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  auto lines = readLines(file);
  const bool crlf = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
  const std::string ending = crlf ? "\r" : "";
  const std::string newLine = std::string(key) + "=" + std::string(value) + ending;

  std::optional<std::size_t> keyIndex;
  std::optional<std::size_t> lastOfSection;
  bool inside = false;
  bool found = false;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (const auto name = sectionName(lines[index])) {
      if (found) break;
      inside = equalIgnoringCase(*name, section);
      found = inside;
      if (inside) lastOfSection = index;
      continue;
    }
    if (!inside) continue;
    if (!trim(lines[index]).empty()) lastOfSection = index;
    const auto entry = keyLine(lines[index]);
    if (entry && equalIgnoringCase(entry->key, key)) {
      keyIndex = index;
      break;
    }
  }
  if (keyIndex) {
    lines[*keyIndex] = newLine;
  } else if (lastOfSection) {
    lines.insert(lines.begin() + static_cast<long>(*lastOfSection) + 1, newLine);
  } else {
    lines.push_back(std::string("[").append(section).append("]").append(ending));
    lines.push_back(newLine);
  }
  return writeLines(file, lines);
}

std::vector<std::pair<std::string, std::string>> readProfileSection(const std::string& file,
                                                                    std::string_view section) {
  const auto lines = readLines(file);
  std::vector<std::pair<std::string, std::string>> entries;
  forEachKeyOfSection(lines, section, [&](const KeyLine& entry) {
    entries.emplace_back(std::string(entry.key), cut(entry.value));
    return true;
  });
  return entries;
}

}  // namespace platform
