#pragma once

#include <initializer_list>
#include <string>

namespace brindle::test {

// Raw bytes written as a list of values, as the protocol documents of serial devices give them.
inline std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int value : values) {
        out += static_cast<char>(value);
    }
    return out;
}

} // namespace brindle::test
