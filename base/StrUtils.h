#pragma once
// Platform-free string helpers. Text inside the program is UTF-16 (std::wstring) where it meets the
// file system or the screen, and UTF-8 (std::string) for messages and logs.
#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);   // invalid sequences become U+FFFD
std::string WideToUtf8(std::wstring_view text);   // unpaired surrogates become U+FFFD

// Leading and trailing characters up to and including the space (control characters too) removed.
std::string Trim(std::string_view text);
std::wstring Trim(std::wstring_view text);

// ASCII-only case mapping and comparison (skin keys, property names, class names).
std::string LowerCaseAscii(std::string_view text);
std::wstring LowerCaseAscii(std::wstring_view text);
bool SameTextAscii(std::string_view a, std::string_view b);
bool SameTextAscii(std::wstring_view a, std::wstring_view b);

// printf-style formatting into a std::string / std::wstring.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::wstring FormatW(const wchar_t* format, ...);
