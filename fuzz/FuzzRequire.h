#pragma once

#include <cstdlib>

namespace fuzz {

// A property a fuzz input broke: abort, so that libFuzzer keeps the input
// and the corpus replay fails.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace fuzz
