#pragma once

// Bit operators for the option-set enums of this layer (traits, control events, states).

#include <type_traits>

#define UI_DEFINE_BITMASK_OPERATORS(Enum)                                                                    \
    constexpr Enum operator|(Enum a, Enum b)                                                                  \
    {                                                                                                        \
        using U = std::underlying_type_t<Enum>;                                                              \
        return static_cast<Enum>(static_cast<U>(a) | static_cast<U>(b));                                     \
    }                                                                                                        \
    constexpr Enum operator&(Enum a, Enum b)                                                                  \
    {                                                                                                        \
        using U = std::underlying_type_t<Enum>;                                                              \
        return static_cast<Enum>(static_cast<U>(a) & static_cast<U>(b));                                     \
    }                                                                                                        \
    constexpr Enum operator~(Enum a)                                                                          \
    {                                                                                                        \
        using U = std::underlying_type_t<Enum>;                                                              \
        return static_cast<Enum>(~static_cast<U>(a));                                                        \
    }                                                                                                        \
    constexpr Enum& operator|=(Enum& a, Enum b) { return a = a | b; }                                        \
    constexpr Enum& operator&=(Enum& a, Enum b) { return a = a & b; }                                        \
    /* True when every bit of `flags` is set in `value` (and `flags` is not empty). */                       \
    constexpr bool hasFlags(Enum value, Enum flags)                                                          \
    {                                                                                                        \
        using U = std::underlying_type_t<Enum>;                                                              \
        return static_cast<U>(flags) != 0 && (static_cast<U>(value) & static_cast<U>(flags)) == static_cast<U>(flags); \
    }
