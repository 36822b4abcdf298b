#pragma once
// Lets GoogleTest print the engine's strings as text rather than as containers of characters.
// Included into every test source by zeph_test.

#include "vessot/String.h"

#include <ostream>

namespace vessot {
inline void PrintTo(const String& s, std::ostream* os) {
    *os << '"' << static_cast<const std::string&>(s) << '"';
}
} // namespace vessot
