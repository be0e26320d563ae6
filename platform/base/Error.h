#pragma once

// The error handed to callbacks and returned by parsers, and Result<T>: a value or an error.

#include "platform/base/Value.h"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace base {

// The domain and code of a property list or JSON text that cannot be read, as the platform
// reports them, so code ported from it can keep its checks.
inline constexpr const char* cocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr int64_t propertyListReadCorruptError = 3840;
// User-info key of the human-readable description.
inline constexpr const char* localizedDescriptionKey = "NSLocalizedDescription";

struct Error {
    std::string domain;
    int64_t code = 0;
    // A dictionary, or null when there is nothing to add.
    Value userInfo;

    // An error whose user info holds the description under localizedDescriptionKey.
    static Error make(std::string domain, int64_t code, std::string description = {});

    // The text under localizedDescriptionKey when there is one, else
    // "The operation couldn’t be completed. (<domain> error <code>.)".
    std::string localizedDescription() const;
    // The whole error as a log line reads it: Error Domain=<domain> Code=<code> "<localized
    // description>", so the domain and code are never lost from a report.
    std::string description() const;

    friend bool operator==(const Error&, const Error&) = default;
};

// A T or an Error. Read value() only after checking ok(); reading the wrong side throws
// std::bad_variant_access.
template<class T>
class Result {
public:
    Result(T value) : m_storage(std::in_place_index<0>, std::move(value)) { }
    Result(Error error) : m_storage(std::in_place_index<1>, std::move(error)) { }

    bool ok() const { return m_storage.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_storage); }
    const T& value() const& { return std::get<0>(m_storage); }
    T&& value() && { return std::get<0>(std::move(m_storage)); }
    T valueOr(T fallback) const& { return ok() ? std::get<0>(m_storage) : std::move(fallback); }

    const Error& error() const { return std::get<1>(m_storage); }

    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

private:
    std::variant<T, Error> m_storage;
};

template<>
class Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_failed(true) { }
    static Result success() { return Result(); }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return m_error; }

private:
    Error m_error;
    bool m_failed = false;
};

} // namespace base
