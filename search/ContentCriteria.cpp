#include "search/ContentCriteria.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <utility>
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

// Scans a source block by block. Each block comes with the phrase's length of room before it, where the
// bytes the blocks before left undecided (the phrase's length at most) go back, so that the candidates
// among them are decided with the block's bytes after them. Those bytes are kept here between blocks,
// as a block's memory may go back to a reader once it is scanned.
class TBlockChain {
public:
    explicit TBlockChain(const TPhraseScan& scan) : FScanner(scan), FTail(scan.Phrase.size()) {}

    // data[0, got) is the next block and data[-length, 0) free for this; got is 0 at the source's end.
    // Whether an occurrence is found in it.
    bool Next(uint8_t* data, size_t got) {
        const size_t length = FScanner.Length();
        const bool atEnd = got == 0;
        uint8_t* const start = data - FTailSize;
        std::memcpy(start, FTail.data(), FTailSize);
        const size_t filled = FTailSize + got;
        size_t decided = 0;
        if (filled >= length) {
            // Not at the end, a candidate that ends the filled part still waits for the byte after it.
            decided = atEnd ? filled - length + 1 : filled - length;
            if (FScanner.Find(start, decided, filled, FBefore, atEnd)) return true;
            if (decided > 0) FBefore = start[decided - 1];
        }
        FTailSize = filled - decided;
        std::memcpy(FTail.data(), start + decided, FTailSize);
        return false;
    }

private:
    TBlockScanner FScanner;
    std::vector<uint8_t> FTail;
    size_t FTailSize = 0;
    uint8_t FBefore = 0;   // the byte before the undecided ones: 0, a delimiter, at the source's start
};

// count blocks of blockSize bytes, each after room bytes of its own and starting on a cache line: a
// read into an aligned buffer copies faster.
class TBlockBuffers {
public:
    TBlockBuffers(size_t room, size_t blockSize, size_t count)
        : FRoom(AlignUp(room)), FStride(FRoom + AlignUp(blockSize)), FMemory(count * FStride + kAlignment - 1) {}

    uint8_t* Block(size_t index) {
        const auto base = AlignUp(reinterpret_cast<uintptr_t>(FMemory.data()));
        return reinterpret_cast<uint8_t*>(base) + index * FStride + FRoom;
    }

private:
    static constexpr size_t kAlignment = 64;
    template <typename T>
    static T AlignUp(T value) { return (value + kAlignment - 1) & ~T{kAlignment - 1}; }

    size_t FRoom, FStride;
    std::vector<uint8_t> FMemory;
};

class TExclusiveLock {
public:
    explicit TExclusiveLock(SRWLOCK& lock) : FLock(lock) { AcquireSRWLockExclusive(&FLock); }
    ~TExclusiveLock() { ReleaseSRWLockExclusive(&FLock); }
    TExclusiveLock(const TExclusiveLock&) = delete;
    TExclusiveLock& operator=(const TExclusiveLock&) = delete;

private:
    SRWLOCK& FLock;
};

// Reads a source into a ring of blocks on a pool thread while the caller scans the blocks read before.
// A block goes back to the reader when the caller asks for the next one. The reader stops at the
// source's end, at a failed read and when this object goes, which waits for it.
class TReadAhead {
public:
    TReadAhead(const TReadFn& read, size_t room, size_t blockSize, size_t blocks)
        : FRead(read), FBlockSize(blockSize), FGot(blocks), FBlocks(room, blockSize, blocks) {
        FWork.reset(CreateThreadpoolWork(Run, this, nullptr));
        if (!FWork) throw EReadError("Cannot start reading ahead");
        SubmitThreadpoolWork(FWork.get());
    }

    // FWork, the last member, goes first and waits for the reader.
    ~TReadAhead() { Publish(FStop, true); }

    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;

    // The next block and its size (0 at the source's end), with the room before it; rethrows what the
    // read threw.
    std::pair<uint8_t*, size_t> Next() {
        if (FTaken > 0) Publish(FReleased, FTaken);
        Await([&] { return FFilled.load(std::memory_order_acquire) > FTaken || FFailed.load(std::memory_order_acquire); });
        if (FFilled.load(std::memory_order_acquire) == FTaken) std::rethrow_exception(FError);
        const uint64_t block = FTaken++;
        return {Block(block), FGot[block % FGot.size()]};
    }

private:
    static void CALLBACK Run(PTP_CALLBACK_INSTANCE, void* self, PTP_WORK) { static_cast<TReadAhead*>(self)->Read(); }

    uint8_t* Block(uint64_t index) { return FBlocks.Block(static_cast<size_t>(index % FGot.size())); }

    void Read() {
        try {
            for (uint64_t block = 0;; ++block) {
                Await([&] {
                    return FStop.load(std::memory_order_acquire) ||
                           block - FReleased.load(std::memory_order_acquire) < FGot.size();
                });
                if (FStop.load(std::memory_order_acquire)) return;
                const size_t got = FRead(Block(block), FBlockSize);
                FGot[block % FGot.size()] = got;
                Publish(FFilled, block + 1);
                if (got == 0) return;
            }
        } catch (...) {
            FError = std::current_exception();
            Publish(FFailed, true);
        }
    }

    // Stores a value the other thread may wait for and wakes it.
    template <typename T>
    void Publish(std::atomic<T>& target, T value) {
        target.store(value, std::memory_order_release);
        { const TExclusiveLock lock(FLock); }   // a waiter that looked before the store is asleep by now
        WakeAllConditionVariable(&FChanged);
    }

    // Returns once ready() holds. The other thread mostly needs a few microseconds, less than putting
    // this one to sleep and waking it costs, so it spins a while first.
    template <typename Ready>
    void Await(Ready&& ready) {
        for (int spin = 0; spin < kSpins; ++spin) {
            if (ready()) return;
            YieldProcessor();
        }
        const TExclusiveLock lock(FLock);
        while (!ready()) SleepConditionVariableSRW(&FChanged, &FLock, INFINITE, 0);
    }

    static constexpr int kSpins = 4000;

    const TReadFn& FRead;
    const size_t FBlockSize;
    std::vector<size_t> FGot;   // the bytes in each block of the ring, published with FFilled
    TBlockBuffers FBlocks;
    SRWLOCK FLock = SRWLOCK_INIT;
    CONDITION_VARIABLE FChanged = CONDITION_VARIABLE_INIT;
    // Counts of blocks: read, given back by the scan; FTaken, the scan's own, given to it.
    std::atomic<uint64_t> FFilled{0}, FReleased{0};
    uint64_t FTaken = 0;
    std::atomic<bool> FStop{false}, FFailed{false};
    std::exception_ptr FError;   // published with FFailed
    UniqueThreadpoolWork FWork;
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

bool TContentCriteria::Matches(const std::wstring& FileName, const std::atomic<bool>* abort) const {
    if (PhraseLength() < 1) return true;
    try {
        return FileContainsPhrase(FileName, {FSearchPhrase, FCharTable, FDelimiters, WholeWord}, TFileAccess::Automatic,
                                  0, abort);
    } catch (...) {
        return false;
    }
}

bool ContainsPhrase(const TPhraseScan& scan, uint64_t size, const TReadFn& read, size_t bufferSize, bool readAhead,
                    const std::atomic<bool>* abort) {
    const size_t length = scan.Phrase.size();
    if (length == 0) return true;
    if (size < length) return false;
    // A source smaller than a block is read whole, and the read that follows finds its end.
    const size_t blockSize = static_cast<size_t>(std::clamp<uint64_t>(size, 1, std::max<size_t>(bufferSize, 1)));
    TBlockChain chain(scan);
    const auto scanBlocks = [&](auto&& nextBlock) {
        for (;;) {
            if (abort && abort->load(std::memory_order_relaxed)) return false;
            const auto [data, got] = nextBlock();
            if (chain.Next(data, got)) return true;
            if (got == 0) return false;
        }
    };
    if (readAhead) {
        TReadAhead ahead(read, length, blockSize, kReadAheadBlocks);
        return scanBlocks([&] { return ahead.Next(); });
    }
    TBlockBuffers buffer(length, blockSize, 1);
    uint8_t* const data = buffer.Block(0);
    return scanBlocks([&] { return std::pair(data, read(data, blockSize)); });
}

bool FileContainsPhrase(const std::wstring& fileName, const TPhraseScan& scan, TFileAccess access, size_t blockSize,
                        const std::atomic<bool>* abort) {
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
            return ContainsPhraseMapped(TBlockScanner(scan), file.get(), bytes, blockSize ? blockSize : kScanViewSize);
        } catch (const EReadError&) {
            if (access == TFileAccess::Mapping) throw;
        }
    }
    const bool ahead = access == TFileAccess::ReadingAhead ||
                       (access != TFileAccess::Reading && bytes >= kReadAheadThreshold);
    return ContainsPhrase(
        scan, bytes,
        [&](uint8_t* buffer, size_t count) -> size_t {
            DWORD got = 0;
            if (!ReadFile(file.get(), buffer, static_cast<DWORD>(std::min<size_t>(count, MAXDWORD)), &got, nullptr))
                throw EReadError("Cannot read the file");
            return got;
        },
        blockSize ? blockSize : ahead ? kReadAheadBlockSize : kScanBufferSize, ahead, abort);
}
