#pragma once

// Metadata sent with a UGC save: which client kind initialised it ("B" for the reader's
// book saves).

#include <string>

namespace lectoro {

class LectoroServiceMetaData {
public:
    LectoroServiceMetaData() = default;

    const std::string& initialisedValue() const { return m_initialisedValue; }
    void setInitialisedValue(std::string value) { m_initialisedValue = std::move(value); }

private:
    std::string m_initialisedValue;
};

} // namespace lectoro
