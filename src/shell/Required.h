#pragma once

// A field of a declared row that every row must give: it has no default, so a row that leaves it out
// does not compile (on every compiler, where a missing-initializer warning is GCC's alone). It reads as
// the value it holds.

namespace zal {

template <class T> class Required {
public:
    constexpr Required(T value) : value_(value) {} // NOLINT: a row gives its value as it is
    Required() = delete;

    constexpr operator T() const { return value_; }
    constexpr T get() const { return value_; }

private:
    T value_;
};

} // namespace zal
