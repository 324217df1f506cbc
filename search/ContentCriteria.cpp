#include "search/ContentCriteria.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/WinHandle.h"
#include "search/CharTables.h"
#include "search/Paths.h"

#if defined(__x86_64__)
#include <immintrin.h>
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

// Finds the next position that can start an occurrence. Where the whole phrase lies inside the data,
// 32 or 16 positions at a time are tested on the phrase's first and last bytes (each in every case the
// table folds together, usually two), which rules out nearly every false start; nearer the end only the
// first byte can be tested, as the rest may still be unread.
class TCandidateFinder {
public:
    TCandidateFinder(const uint8_t* table, std::string_view phrase) : FLastOffset(phrase.size() - 1) {
        const auto first = static_cast<uint8_t>(phrase.front()), last = static_cast<uint8_t>(phrase.back());
        int firstCount = 0, lastCount = 0;
        for (unsigned k = 0; k < 256; ++k) {
            if (table[k] == first) FStarts[k] = true, Note(FFirst, firstCount, k);
            if (table[k] == last) Note(FLast, lastCount, k);
        }
        FVector = firstCount <= 2 && lastCount <= 2;
    }

    const uint8_t* Find(const uint8_t* p, const uint8_t* end) const {
#if defined(__x86_64__)
        if (FVector) p = HasAvx2() ? FindAvx2(p, end) : FindSse2(p, end);
#endif
        while (p < end && !FStarts[*p]) ++p;
        return p;
    }

private:
    // Up to two bytes per end of the phrase; with one the same byte is noted twice.
    static void Note(uint8_t (&bytes)[2], int& count, unsigned k) {
        if (count == 0) bytes[1] = static_cast<uint8_t>(k);
        if (count < 2) bytes[count] = static_cast<uint8_t>(k);
        ++count;
    }

#if defined(__x86_64__)
    static bool HasAvx2() {
        static const bool has = __builtin_cpu_supports("avx2");
        return has;
    }

    // Each returns the first position whose first and last bytes both fit, or where it stopped testing.
    __attribute__((target("avx2"))) const uint8_t* FindAvx2(const uint8_t* p, const uint8_t* end) const {
        const __m256i firstA = _mm256_set1_epi8(static_cast<char>(FFirst[0]));
        const __m256i firstB = _mm256_set1_epi8(static_cast<char>(FFirst[1]));
        const __m256i lastA = _mm256_set1_epi8(static_cast<char>(FLast[0]));
        const __m256i lastB = _mm256_set1_epi8(static_cast<char>(FLast[1]));
        for (const ptrdiff_t reach = static_cast<ptrdiff_t>(32 + FLastOffset); end - p >= reach; p += 32) {
            const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
            const __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + FLastOffset));
            const __m256i starts = _mm256_or_si256(_mm256_cmpeq_epi8(head, firstA), _mm256_cmpeq_epi8(head, firstB));
            const __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(tail, lastA), _mm256_cmpeq_epi8(tail, lastB));
            if (const auto hits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(starts, ends))))
                return p + __builtin_ctz(hits);
        }
        return FindSse2(p, end);
    }

    const uint8_t* FindSse2(const uint8_t* p, const uint8_t* end) const {
        const __m128i firstA = _mm_set1_epi8(static_cast<char>(FFirst[0]));
        const __m128i firstB = _mm_set1_epi8(static_cast<char>(FFirst[1]));
        const __m128i lastA = _mm_set1_epi8(static_cast<char>(FLast[0]));
        const __m128i lastB = _mm_set1_epi8(static_cast<char>(FLast[1]));
        for (const ptrdiff_t reach = static_cast<ptrdiff_t>(16 + FLastOffset); end - p >= reach; p += 16) {
            const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + FLastOffset));
            const __m128i starts = _mm_or_si128(_mm_cmpeq_epi8(head, firstA), _mm_cmpeq_epi8(head, firstB));
            const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(tail, lastA), _mm_cmpeq_epi8(tail, lastB));
            if (const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(starts, ends))))
                return p + __builtin_ctz(hits);
        }
        return p;
    }
#endif

    size_t FLastOffset;
    bool FStarts[256] = {};
    uint8_t FFirst[2] = {}, FLast[2] = {};
    bool FVector = false;
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
    const TCandidateFinder finder(table, scan.Phrase);

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
