#include "search/ContentCriteria.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
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

// Decides the positions of one block of bytes in memory: a filled buffer or a mapped view.
class TBlockScanner {
public:
    explicit TBlockScanner(const TPhraseScan& scan)
        : FScan(scan), FPhrase(reinterpret_cast<const uint8_t*>(scan.Phrase.data())), FLength(scan.Phrase.size()),
          FFinder(scan.Table, scan.Phrase) {}

    size_t Length() const { return FLength; }

    // Whether an occurrence starts at one of data[0, starts). data[0, end) may be read; before is the
    // byte before data[0] (0, a delimiter, at the file's start). A candidate that reaches end is followed
    // by the file's end when atEnd; the caller gives no other such candidate.
    bool Find(const uint8_t* data, size_t starts, size_t end, uint8_t before, bool atEnd) const {
        if (starts == 0) return false;
        const uint8_t* const last = data + starts;
        // Up to the last candidate's last byte: then the finder tests first and last bytes for all of them.
        const uint8_t* const reach = last + (FLength - 1);
        const std::bitset<256>& delimiters = *FScan.Delimiters;
        for (const uint8_t* p = data; (p = FFinder.Find(p, reach)) < last; ++p) {
            if (FScan.WholeWord && !delimiters[p > data ? p[-1] : before]) continue;
            size_t k = 1;
            while (k < FLength && FScan.Table[p[k]] == FPhrase[k]) ++k;
            if (k < FLength) continue;
            const size_t after = static_cast<size_t>(p - data) + FLength;
            if (!FScan.WholeWord || (after < end ? delimiters[data[after]] : atEnd)) return true;
        }
        return false;
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
