#pragma once
// A move-only owner of one handle-like value, freed through its traits when the owner goes. The
// Windows aliases (bitmap, region, DC, font, find handle, ...) are in ui/Handles.h; the template is
// platform-free.
//
// Traits: `using Type = ...; static Type Invalid(); static void Close(Type);`
// Traits may also count what their owners hold: with `static void Count(int delta) noexcept` an owner
// reports +1 when it takes a valid handle and -1 when it frees it or gives it away (see
// base/HandleCounts.h).
#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type value) noexcept : FValue(value) { Count(value, 1); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : FValue(std::exchange(other.FValue, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Replace(std::exchange(other.FValue, Traits::Invalid()));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return FValue; }
    explicit operator bool() const noexcept { return FValue != Traits::Invalid(); }

    // Gives ownership away (for instance to the system, as SetWindowRgn does with a region).
    [[nodiscard]] Type release() noexcept {
        Count(FValue, -1);
        return std::exchange(FValue, Traits::Invalid());
    }

    void reset(Type value = Traits::Invalid()) noexcept {
        Count(value, 1);
        Replace(value);
    }

private:
    static void Count(Type value, int delta) noexcept {
        if constexpr (requires { Traits::Count(delta); })
            if (value != Traits::Invalid()) Traits::Count(delta);
    }

    // Holds value, already counted, and frees the old one.
    void Replace(Type value) noexcept {
        Type old = std::exchange(FValue, value);
        if (old == Traits::Invalid()) return;
        Traits::Close(old);
        Count(old, -1);
    }

    Type FValue = Traits::Invalid();
};

// Traits for the common case: a value-initialised (null) handle is invalid, Close frees it.
template <typename T, auto CloseFn>
struct NullHandleTraits {
    using Type = T;
    static constexpr Type Invalid() noexcept { return Type{}; }
    static void Close(Type value) noexcept { CloseFn(value); }
};
