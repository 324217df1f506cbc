#include "RemoteMemory.h"

#include <stdexcept>
#include <vector>

TRemoteMemory::TRemoteMemory(HANDLE process, std::size_t size)
    : FProcess(process), FAddress(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      FSize(size) {
    if (!FAddress) throw std::runtime_error("cannot allocate memory in the program's process");
}

TRemoteMemory::~TRemoteMemory() { VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE); }

void TRemoteMemory::CheckRange(std::size_t offset, std::size_t size) const {
    if (offset > FSize || size > FSize - offset) throw std::out_of_range("range outside the remote block");
}

void TRemoteMemory::Write(std::size_t offset, const void* data, std::size_t size) {
    CheckRange(offset, size);
    SIZE_T written = 0;
    if (!WriteProcessMemory(FProcess, At(offset), data, size, &written) || written != size)
        throw std::runtime_error("cannot write to the program's memory");
}

void TRemoteMemory::Read(std::size_t offset, void* data, std::size_t size) const {
    CheckRange(offset, size);
    SIZE_T read = 0;
    if (!ReadProcessMemory(FProcess, At(offset), data, size, &read) || read != size)
        throw std::runtime_error("cannot read the program's memory");
}

std::wstring TRemoteMemory::Text(std::size_t offset, std::size_t chars) const {
    std::vector<wchar_t> buffer(chars + 1, L'\0');
    Read(offset, buffer.data(), chars * sizeof(wchar_t));
    return buffer.data();  // up to the first NUL; the extra element ends a text that filled the buffer
}
