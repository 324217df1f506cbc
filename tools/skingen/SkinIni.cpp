#include "SkinIni.h"

#include "Pixmap.h"

#include <algorithm>
#include <cctype>
#include <charconv>

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

namespace {
std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}
}  // namespace

TSkinIni TSkinIni::Load(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadFile(path);
  return Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TSkinIni TSkinIni::Parse(std::string_view text) {
  TSkinIni ini;
  std::string section;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Lower(Trim(line.substr(1, line.size() - 2)));
      ini.FSections.emplace_back(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos)
      ini.FEntries.push_back({section, Lower(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
  }
  return ini;
}

bool TSkinIni::HasSection(std::string_view section) const {
  return std::any_of(FSections.begin(), FSections.end(), [&](const std::string& s) { return Lower(s) == Lower(section); });
}

std::string TSkinIni::Value(std::string_view section, std::string_view key, std::string_view fallback) const {
  const std::string s = Lower(section), k = Lower(key);
  for (const TEntry& e : FEntries)
    if (e.Section == s && e.Key == k) return e.Value.empty() ? std::string(fallback) : e.Value;
  return std::string(fallback);
}

int TSkinIni::Number(std::string_view section, std::string_view key, int fallback) const {
  const std::string v = Value(section, key);
  int out = 0;
  const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), out);
  return v.empty() || error != std::errc() || end != v.data() + v.size() ? fallback : out;
}

std::vector<std::string> TSkinIni::Sections() const { return FSections; }

std::vector<std::string> TSkinIni::ImageFiles() const {
  std::vector<std::string> files;
  for (const TEntry& e : FEntries) {
    std::string name = Lower(e.Value);
    if (const size_t cut = name.find_last_of("\\:"); cut != std::string::npos) name.erase(0, cut + 1);
    if (name.size() > 4 && name.ends_with(".bmp") && std::find(files.begin(), files.end(), name) == files.end())
      files.push_back(name);
  }
  return files;
}
