#include "search/ContentCriteria.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/WinHandle.h"
#include "search/CharTables.h"
#include "search/Paths.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

std::string Encode(const std::wstring& text, UINT codePage, BOOL* lossy) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, lossy);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), length, nullptr, lossy);
    return out;
}

// Finds the next byte that can start an occurrence: one whose table image is the phrase's first byte.
// With one or two such bytes (the usual case: a letter in both cases) sixteen bytes are tested at once.
class TCandidateFinder {
public:
    TCandidateFinder(const uint8_t* table, uint8_t first) {
        for (unsigned k = 0; k < 256; ++k)
            if (table[k] == first) {
                FStarts[k] = true;
                if (FCount < 2) FBytes[FCount] = static_cast<uint8_t>(k);
                ++FCount;
            }
    }

    const uint8_t* Find(const uint8_t* p, const uint8_t* end) const {
#if defined(__SSE2__)
        if (FCount <= 2) {
            const __m128i a = _mm_set1_epi8(static_cast<char>(FBytes[0]));
            const __m128i b = _mm_set1_epi8(static_cast<char>(FBytes[FCount - 1]));
            for (; end - p >= 16; p += 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, a), _mm_cmpeq_epi8(v, b)));
                if (hits) return p + __builtin_ctz(static_cast<unsigned>(hits));
            }
        }
#endif
        while (p < end && !FStarts[*p]) ++p;
        return p;
    }

private:
    bool FStarts[256] = {};
    uint8_t FBytes[2] = {};
    int FCount = 0;
};

}  // namespace

void TContentCriteria::SetPhrase(const std::wstring& value) {
    if (value == FPhrase) return;
    FPhrase = value;
    Update();
}

void TContentCriteria::SetIgnoreCase(bool value) {
    if (value == FIgnoreCase) return;
    FIgnoreCase = value;
    Update();
}

void TContentCriteria::Update() {
    const TCharTables& tables = CharTables();
    BOOL lossy = FALSE;
    const bool ansiIsUtf8 = GetACP() == CP_UTF8;
    std::string bytes = ansiIsUtf8 ? std::string() : Encode(FPhrase, CP_ACP, &lossy);
    const bool utf8 = ansiIsUtf8 || lossy;
    if (utf8) bytes = Encode(FPhrase, CP_UTF8, nullptr);
    FCharTable = !FIgnoreCase ? tables.IdentityTable : utf8 ? tables.Utf8LowerCaseTable : tables.LowerCaseTable;
    FDelimiters = utf8 ? &tables.Utf8WordDelimiters : &tables.WordDelimiters;
    for (char& ch : bytes) ch = static_cast<char>(FCharTable[static_cast<uint8_t>(ch)]);
    FSearchPhrase = std::move(bytes);
}

bool TContentCriteria::Matches(const std::wstring& FileName) const {
    if (PhraseLength() < 1) return true;
    try {
        return FileContainsPhrase(FileName, {FSearchPhrase, FCharTable, FDelimiters, WholeWord});
    } catch (...) {
        return false;
    }
}

bool ContainsPhrase(const TPhraseScan& scan, uint64_t size, const TReadFn& read, size_t bufferSize) {
    const size_t length = scan.Phrase.size();
    if (length == 0) return true;
    if (size < length) return false;
    if (size <= bufferSize)
        bufferSize = static_cast<size_t>(size);
    else if (length >= bufferSize)
        bufferSize = length + 1;   // room for the byte after a whole-word candidate
    std::vector<uint8_t> buffer(bufferSize);
    uint8_t* const buf = buffer.data();
    const auto* phrase = reinterpret_cast<const uint8_t*>(scan.Phrase.data());
    const uint8_t* table = scan.Table;
    const std::bitset<256>& delimiters = *scan.Delimiters;
    const TCandidateFinder finder(table, phrase[0]);

    uint8_t before = 0;   // the byte before buf[0]; 0 is a delimiter, so the file's start is a word boundary
    size_t filled = read(buf, bufferSize);
    while (filled > 0) {
        size_t pos = 0;
        for (;;) {
            pos = static_cast<size_t>(finder.Find(buf + pos, buf + filled) - buf);
            if (pos >= filled) break;
            if (scan.WholeWord && !delimiters[pos > 0 ? buf[pos - 1] : before]) {
                ++pos;
                continue;
            }
            size_t k = 1;
            bool found = false;
            for (;;) {
                while (k < length && pos + k < filled && table[buf[pos + k]] == phrase[k]) ++k;
                if (k == length && (!scan.WholeWord || pos + length < filled)) {
                    found = !scan.WholeWord || delimiters[buf[pos + length]];
                    break;
                }
                if (k < length && pos + k < filled) break;   // a byte differs
                // The candidate (or the look at the byte after it) runs past the filled part.
                if (pos > 0) before = buf[pos - 1];
                const size_t carried = filled - pos;
                std::memmove(buf, buf + pos, carried);
                pos = 0;
                const size_t got = read(buf + carried, bufferSize - carried);
                filled = carried + got;
                if (k == length && got == 0) return true;   // the occurrence ends the file
                if (filled < length) return false;          // too little left to hold the phrase
            }
            if (found) return true;
            ++pos;
        }
        before = buf[filled - 1];
        filled = read(buf, bufferSize);
    }
    return false;
}

bool FileContainsPhrase(const std::wstring& fileName, const TPhraseScan& scan) {
    UniqueFileHandle file(CreateFileW(ExtendedPath(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size)) throw EReadError("Cannot open the file");
    return ContainsPhrase(scan, static_cast<uint64_t>(size.QuadPart), [&](uint8_t* buffer, size_t count) -> size_t {
        DWORD got = 0;
        if (count > 0 && !ReadFile(file.get(), buffer, static_cast<DWORD>(count), &got, nullptr))
            throw EReadError("Cannot read the file");
        return got;
    });
}
