#include "search/ContentCriteria.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <array>
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

// How rare a byte is in text, in a few broad classes (finer ranks would only tell apart letters whose
// order differs from one text to the next): 0 for space and the most common lower-case letters of
// English, 1 for the others that are common and line ends and common punctuation, 2 for the rare letters,
// capitals and digits, 3 for the rest of ASCII's punctuation and the bytes that start a UTF-8 sequence
// (or are accented letters in an ANSI code page), 4 for control bytes and UTF-8 continuation bytes.
int Rarity(uint8_t byte) {
    static const auto rarity = [] {
        std::array<uint8_t, 256> r;
        r.fill(4);
        const std::string_view classes[] = {" etaoinsrhldcu", "mfpgwybvk,.-\r\n",
                                            "xjqzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
                                            "()\"';:=/_{}[]<>*#+&|\\!?%$@^`~\t"};
        for (uint8_t rank = 0; rank < 4; ++rank)
            for (const char ch : classes[rank]) r[static_cast<uint8_t>(ch)] = rank;
        for (unsigned lead = 0xC0; lead < 0x100; ++lead) r[lead] = 3;
        return r;
    }();
    return rarity[byte];
}

// Finds the positions that can start an occurrence. Where a position's whole phrase lies inside the data,
// 32 or 16 positions at a time are tested on two bytes of the phrase (each in every case the table folds
// together, when that is at most two): the first of the rarest in text and the rarest other one farthest
// from it, so the phrase's first and last unless some byte is rarer. That rules out nearly every false
// start, and every position of a block that passes is checked before the next block is loaded. The
// positions left over after the last whole block are tested on their first byte alone.
class TCandidateFinder {
public:
    TCandidateFinder(const uint8_t* table, std::string_view phrase) {
        const auto first = static_cast<uint8_t>(phrase.front());
        for (unsigned k = 0; k < 256; ++k) FStarts[k] = table[k] == first;
        // The bytes that pass at each position; the most common of them sets the position's rarity.
        struct TPosition {
            size_t Offset;
            uint8_t Bytes[2];
            int Rarity;
        };
        std::vector<TPosition> testable;
        for (size_t i = 0; i < phrase.size(); ++i) {
            TPosition position{i, {}, 4};
            int count = 0;
            for (unsigned k = 0; k < 256; ++k)
                if (table[k] == static_cast<uint8_t>(phrase[i])) {
                    if (count < 2) position.Bytes[count] = static_cast<uint8_t>(k);
                    position.Rarity = std::min<int>(position.Rarity, Rarity(static_cast<uint8_t>(k)));
                    ++count;
                }
            if (count == 1) position.Bytes[1] = position.Bytes[0];
            if (count <= 2) testable.push_back(position);
        }
        if (testable.empty()) return;
        // The first of the rarest positions, then the rarest other one, the farther from the first the better.
        TPosition a = testable.front();
        for (const TPosition& other : testable)
            if (other.Rarity > a.Rarity) a = other;
        const auto distance = [&](const TPosition& x) { return x.Offset > a.Offset ? x.Offset - a.Offset : a.Offset - x.Offset; };
        TPosition b = a;
        for (const TPosition& other : testable)
            if (other.Offset != a.Offset &&
                (b.Offset == a.Offset || other.Rarity > b.Rarity ||
                 (other.Rarity == b.Rarity && distance(other) > distance(b))))
                b = other;
        FOffsetA = a.Offset, FOffsetB = b.Offset;
        std::copy(std::begin(a.Bytes), std::end(a.Bytes), FBytesA);
        std::copy(std::begin(b.Bytes), std::end(b.Bytes), FBytesB);
        FVector = true;
#if defined(__x86_64__)
        FAvx2 = __builtin_cpu_supports("avx2");
#endif
    }

    // Calls check on every position of [p, last) that can start an occurrence, in order, until it says
    // true. Every position's phrase must lie inside the data.
    template <typename Check>
    bool Any(const uint8_t* p, const uint8_t* last, Check&& check) const {
#if defined(__x86_64__)
        if (FVector && (FAvx2 ? AnyAvx2(p, last, check) : AnySse2(p, last, check))) return true;
#endif
        for (; p < last; ++p)
            if (FStarts[*p] && check(p)) return true;
        return false;
    }

private:
#if defined(__x86_64__)
    // Each tests whole blocks from p on, leaves p where it stopped and says whether check said true.
    template <typename Check>
    __attribute__((target("avx2"))) bool AnyAvx2(const uint8_t*& p, const uint8_t* last, Check& check) const {
        const __m256i a0 = _mm256_set1_epi8(static_cast<char>(FBytesA[0]));
        const __m256i a1 = _mm256_set1_epi8(static_cast<char>(FBytesA[1]));
        const __m256i b0 = _mm256_set1_epi8(static_cast<char>(FBytesB[0]));
        const __m256i b1 = _mm256_set1_epi8(static_cast<char>(FBytesB[1]));
        for (; last - p >= 32; p += 32) {
            const __m256i atA = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + FOffsetA));
            const __m256i atB = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + FOffsetB));
            const __m256i hitA = _mm256_or_si256(_mm256_cmpeq_epi8(atA, a0), _mm256_cmpeq_epi8(atA, a1));
            const __m256i hitB = _mm256_or_si256(_mm256_cmpeq_epi8(atB, b0), _mm256_cmpeq_epi8(atB, b1));
            for (auto hits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(hitA, hitB))); hits;
                 hits &= hits - 1)
                if (check(p + __builtin_ctz(hits))) return true;
        }
        return AnySse2(p, last, check);
    }

    template <typename Check>
    bool AnySse2(const uint8_t*& p, const uint8_t* last, Check& check) const {
        const __m128i a0 = _mm_set1_epi8(static_cast<char>(FBytesA[0]));
        const __m128i a1 = _mm_set1_epi8(static_cast<char>(FBytesA[1]));
        const __m128i b0 = _mm_set1_epi8(static_cast<char>(FBytesB[0]));
        const __m128i b1 = _mm_set1_epi8(static_cast<char>(FBytesB[1]));
        for (; last - p >= 16; p += 16) {
            const __m128i atA = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + FOffsetA));
            const __m128i atB = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + FOffsetB));
            const __m128i hitA = _mm_or_si128(_mm_cmpeq_epi8(atA, a0), _mm_cmpeq_epi8(atA, a1));
            const __m128i hitB = _mm_or_si128(_mm_cmpeq_epi8(atB, b0), _mm_cmpeq_epi8(atB, b1));
            for (auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hitA, hitB))); hits; hits &= hits - 1)
                if (check(p + __builtin_ctz(hits))) return true;
        }
        return false;
    }
#endif

    bool FStarts[256] = {};
    size_t FOffsetA = 0, FOffsetB = 0;
    uint8_t FBytesA[2] = {}, FBytesB[2] = {};
    bool FVector = false, FAvx2 = false;
};

// Decides the positions of one block of bytes in memory: a filled buffer or a mapped view.
class TBlockScanner {
public:
    explicit TBlockScanner(const TPhraseScan& scan)
        : FScan(scan), FPhrase(reinterpret_cast<const uint8_t*>(scan.Phrase.data())), FLength(scan.Phrase.size()),
          FFinder(scan.Table, scan.Phrase) {}

    size_t Length() const { return FLength; }

    // Whether an occurrence starts at one of data[0, starts). data[0, end) may be read, and it holds the
    // phrase of every one of them; before is the byte before data[0] (0, a delimiter, at the file's
    // start). A candidate that reaches end is followed by the file's end when atEnd; the caller gives no
    // other such candidate.
    bool Find(const uint8_t* data, size_t starts, size_t end, uint8_t before, bool atEnd) const {
        const std::bitset<256>& delimiters = *FScan.Delimiters;
        const uint8_t* table = FScan.Table;
        return FFinder.Any(data, data + starts, [&](const uint8_t* p) {
            if (FScan.WholeWord && !delimiters[p > data ? p[-1] : before]) return false;
            for (size_t k = 0; k < FLength; ++k)
                if (table[p[k]] != FPhrase[k]) return false;
            const size_t after = static_cast<size_t>(p - data) + FLength;
            return !FScan.WholeWord || (after < end ? delimiters[data[after]] : atEnd);
        });
    }

private:
    const TPhraseScan& FScan;
    const uint8_t* FPhrase;
    size_t FLength;
    TCandidateFinder FFinder;
};

bool ContainsPhraseMapped(const TBlockScanner& scanner, HANDLE file, uint64_t size, size_t viewSize) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t granularity = system.dwAllocationGranularity;
    const size_t step = std::max<size_t>((viewSize + granularity - 1) / granularity, 1) * granularity;
    const size_t length = scanner.Length();
    // The section is exactly the size the scan goes by: while it exists Windows refuses to cut the file
    // below it, and if the file is already shorter the mapping fails instead of a view reading past it.
    // (Under Wine a Linux process can still cut the file, and a view over the lost part then faults.)
    UniqueMappingHandle mapping(CreateFileMappingW(file, nullptr, PAGE_READONLY, static_cast<DWORD>(size >> 32),
                                                   static_cast<DWORD>(size), nullptr));
    if (!mapping) throw EReadError("Cannot map the file");
    uint8_t before = 0;
    for (uint64_t at = 0;; at += step) {
        const size_t bytes = static_cast<size_t>(std::min<uint64_t>(step + length, size - at));
        const UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, static_cast<DWORD>(at >> 32),
                                                  static_cast<DWORD>(at), bytes));
        if (!view) throw EReadError("Cannot map the file");
        const auto* data = static_cast<const uint8_t*>(view.get());
        const bool atEnd = at + bytes == size;
        if (scanner.Find(data, atEnd ? bytes - length + 1 : step, bytes, before, atEnd)) return true;
        if (atEnd) return false;
        before = data[step - 1];
    }
}

// Mapping is sound where the file's volume cannot go away under a view: a local disk that is neither
// removable nor a CD. This asks the open file's own volume what GetDriveTypeW asks a drive's root, so a
// volume mounted in a folder counts as itself, and at a hundredth of GetDriveTypeW's cost under Wine.
bool OnFixedDisk(HANDLE file) {
    constexpr ULONG kRemovableMedia = 0x01, kRemoteDevice = 0x10;   // FILE_REMOVABLE_MEDIA, FILE_REMOTE_DEVICE
    IO_STATUS_BLOCK status;
    FILE_FS_DEVICE_INFORMATION device;
    if (!NT_SUCCESS(NtQueryVolumeInformationFile(file, &status, &device, sizeof device, FileFsDeviceInformation)))
        return false;
    if (device.Characteristics & (kRemovableMedia | kRemoteDevice)) return false;
    switch (device.DeviceType) {
        case FILE_DEVICE_DISK:
        case FILE_DEVICE_DISK_FILE_SYSTEM:
        case FILE_DEVICE_VIRTUAL_DISK:
            return true;
        default:
            return false;
    }
}

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
    // Each fill must decide something after the undecided bytes kept from the last one.
    size_t capacity = bufferSize > length ? bufferSize : 2 * length + 1;
    if (size < capacity) capacity = std::max(static_cast<size_t>(size), length + 1);
    std::vector<uint8_t> buffer(capacity);
    uint8_t* const buf = buffer.data();
    const TBlockScanner scanner(scan);

    uint8_t before = 0;
    size_t filled = 0;
    for (;;) {
        const size_t got = read(buf + filled, capacity - filled);
        filled += got;
        const bool atEnd = got == 0;
        if (filled < length) {
            if (atEnd) return false;
            continue;
        }
        // Not at the end, a candidate that ends the filled part still waits for the byte after it.
        const size_t decided = atEnd ? filled - length + 1 : filled - length;
        if (scanner.Find(buf, decided, filled, before, atEnd)) return true;
        if (atEnd) return false;
        if (decided > 0) {
            before = buf[decided - 1];
            filled -= decided;
            std::memmove(buf, buf + decided, filled);
        }
    }
}

bool FileContainsPhrase(const std::wstring& fileName, const TPhraseScan& scan, TFileAccess access, size_t viewSize) {
    UniqueFileHandle file(CreateFileW(ExtendedPath(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size)) throw EReadError("Cannot open the file");
    const auto bytes = static_cast<uint64_t>(size.QuadPart);
    if (scan.Phrase.empty()) return true;
    if (bytes < scan.Phrase.size()) return false;   // nothing to map or read
    if (access == TFileAccess::Mapping ||
        (access == TFileAccess::Automatic && bytes >= kScanMappingThreshold && OnFixedDisk(file.get()))) {
        try {
            return ContainsPhraseMapped(TBlockScanner(scan), file.get(), bytes, viewSize);
        } catch (const EReadError&) {
            if (access == TFileAccess::Mapping) throw;
        }
    }
    return ContainsPhrase(scan, bytes, [&](uint8_t* buffer, size_t count) -> size_t {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, static_cast<DWORD>(std::min<size_t>(count, MAXDWORD)), &got, nullptr))
            throw EReadError("Cannot read the file");
        return got;
    });
}
