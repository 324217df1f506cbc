#pragma once
// Byte tables of the content scan, built once on first use and never changed afterwards.
//
// The 8-bit tables describe the system's ANSI code page, the encoding a phrase is searched in when
// every one of its characters exists there. The UTF-8 tables serve a phrase that needs UTF-8: they fold
// ASCII letters only and count every byte of a multi-byte sequence as part of a word.
#include <bitset>
#include <cstdint>

using TCharTable = uint8_t[256];

struct TCharTables {
    TCharTable IdentityTable;
    TCharTable LowerCaseTable;        // lower case in the ANSI code page
    std::bitset<256> WordDelimiters;  // bytes that are not alphanumeric in the ANSI code page
    TCharTable Utf8LowerCaseTable;
    std::bitset<256> Utf8WordDelimiters;
};

const TCharTables& CharTables();
