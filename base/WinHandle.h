#pragma once
// Owners of kernel handles: threads, events, file mappings and files (null when empty), directory
// listings and files opened with CreateFileW (INVALID_HANDLE_VALUE when empty), and views of a file
// mapping and thread pool work objects (null when empty). Windows only.
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

// A thread pool work object. Its callbacks use what its owner holds, so closing it first waits for the
// one under way and any still queued: the owner must have told them to end by then.
struct ThreadpoolWorkTraits {
    using Type = PTP_WORK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept {
        WaitForThreadpoolWorkCallbacks(value, FALSE);
        CloseThreadpoolWork(value);
    }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueMappingHandle = UniqueHandle<KernelHandleTraits>;   // CreateFileMappingW: null on failure
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;
using UniqueThreadpoolWork = UniqueHandle<ThreadpoolWorkTraits>;
