#pragma once
// A move-only owner of one handle-like value, freed through its traits when the owner goes. The
// Windows aliases (bitmap, region, DC, font, find handle, ...) are in ui/Handles.h; the template is
// platform-free.
//
// Traits: `using Type = ...; static Type Invalid(); static void Close(Type);`
#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type value) noexcept : FValue(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : FValue(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return FValue; }
    explicit operator bool() const noexcept { return FValue != Traits::Invalid(); }

    // Gives ownership away (for instance to the system, as SetWindowRgn does with a region).
    [[nodiscard]] Type release() noexcept { return std::exchange(FValue, Traits::Invalid()); }

    void reset(Type value = Traits::Invalid()) noexcept {
        Type old = std::exchange(FValue, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Type FValue = Traits::Invalid();
};

// Traits for the common case: a value-initialised (null) handle is invalid, Close frees it.
template <typename T, auto CloseFn>
struct NullHandleTraits {
    using Type = T;
    static constexpr Type Invalid() noexcept { return Type{}; }
    static void Close(Type value) noexcept { CloseFn(value); }
};
