#pragma once
// TComPtr: the owner of one reference to a COM object, released when the owner goes. TComApartment:
// COM initialised on this thread (single-threaded apartment) for as long as the object lives.
#include <objbase.h>

#include <utility>

template <typename T>
class TComPtr {
public:
    TComPtr() = default;
    ~TComPtr() { reset(); }
    TComPtr(TComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    TComPtr& operator=(TComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            FPtr = std::exchange(other.FPtr, nullptr);
        }
        return *this;
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;

    T* operator->() const { return FPtr; }
    T* get() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    // The slot for an out-parameter; whatever was held is released first.
    T** put() {
        reset();
        return &FPtr;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (FPtr) std::exchange(FPtr, nullptr)->Release();
    }

private:
    T* FPtr = nullptr;
};

class TComApartment {
public:
    // Already initialised (by the application, or in another mode) counts as there: only a call of its
    // own that succeeded is undone.
    TComApartment() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComApartment() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    HRESULT FResult;
};
