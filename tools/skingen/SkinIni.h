#pragma once
// Reads a skin ini the way the program does where the generator needs it: sections and keys compare
// without regard to case, the first occurrence of a key wins, lines starting with ";" are comments.
#include <string>
#include <string_view>
#include <vector>

class TSkinIni {
public:
  static TSkinIni Load(const std::string& path);
  static TSkinIni Parse(std::string_view text);

  bool HasSection(std::string_view section) const;
  std::string Value(std::string_view section, std::string_view key, std::string_view fallback = "") const;
  int Number(std::string_view section, std::string_view key, int fallback) const;
  std::vector<std::string> Sections() const;
  // Every value that names a ".bmp" file, path dropped and lower-cased, each once, in text order.
  std::vector<std::string> ImageFiles() const;

private:
  struct TEntry {
    std::string Section, Key, Value;
  };
  std::vector<TEntry> FEntries;
  std::vector<std::string> FSections;
};

std::string Lower(std::string_view text);
