#include "search/CharTables.h"

#include <windows.h>

namespace {

bool IsAsciiAlphaNumeric(unsigned ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

TCharTables BuildTables() {
    TCharTables t{};
    char lower[256];
    for (unsigned k = 0; k < 256; ++k) {
        t.IdentityTable[k] = static_cast<uint8_t>(k);
        lower[k] = static_cast<char>(k);
        t.WordDelimiters[k] = !IsCharAlphaNumericA(static_cast<CHAR>(k));
        t.Utf8LowerCaseTable[k] = static_cast<uint8_t>(k >= 'A' && k <= 'Z' ? k + 32 : k);
        t.Utf8WordDelimiters[k] = k < 0x80 && !IsAsciiAlphaNumeric(k);
    }
    CharLowerBuffA(lower, 256);
    for (unsigned k = 0; k < 256; ++k) t.LowerCaseTable[k] = static_cast<uint8_t>(lower[k]);
    return t;
}

}  // namespace

const TCharTables& CharTables() {
    static const TCharTables tables = BuildTables();
    return tables;
}
