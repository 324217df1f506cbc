#pragma once
// Owners of kernel handles: threads, events, file mappings and files (null when empty), directory
// listings and files opened with CreateFileW (INVALID_HANDLE_VALUE when empty), and views of a file
// mapping (null when empty). Windows only.
#include <windows.h>

#include "base/UniqueHandle.h"

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept { CloseHandle(value); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { CloseHandle(value); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { FindClose(value); }
};

// A view made by MapViewOfFile; only UnmapViewOfFile gives its address range back.
struct MappedViewTraits {
    using Type = const void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept { UnmapViewOfFile(value); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueMappingHandle = UniqueHandle<KernelHandleTraits>;   // CreateFileMappingW: null on failure
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;
