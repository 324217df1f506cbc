#include "base/FileName.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

bool OrdinalSame(const wchar_t* a, const wchar_t* b, int length) {
    return CompareStringOrdinal(a, length, b, length, TRUE) == CSTR_EQUAL;
}

wchar_t UpperAscii(wchar_t ch) { return ch >= L'a' && ch <= L'z' ? static_cast<wchar_t>(ch - L'a' + L'A') : ch; }

}  // namespace

bool SameFileName(std::wstring_view a, std::wstring_view b) {
    // Upper-casing maps every code unit to one code unit, so names of different lengths always differ.
    if (a.size() != b.size()) return false;
    for (size_t at = 0; at < a.size();) {
        const size_t count = std::min(a.size() - at, size_t{INT_MAX});
        if (!OrdinalSame(a.data() + at, b.data() + at, static_cast<int>(count))) return false;
        at += count;
    }
    return true;
}

bool SameFileNameChar(wchar_t a, wchar_t b) {
    if (a == b) return true;
    // Between two ASCII characters the table holds nothing but a-z to A-Z; masks and names are mostly
    // ASCII, so those need no call.
    if (a < 0x80 && b < 0x80) return UpperAscii(a) == UpperAscii(b);
    return OrdinalSame(&a, &b, 1);
}
