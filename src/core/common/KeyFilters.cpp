#include "KeyFilters.h"

namespace brindle {

int upperCaseLetter(int keyAscii)
{
    return (keyAscii >= 'a' && keyAscii <= 'z') ? keyAscii - 'a' + 'A' : keyAscii;
}

int numberCharsOnly(int keyAscii)
{
    if (keyAscii == KeyBackspace || (keyAscii >= '-' && keyAscii <= '9')) {
        return keyAscii;
    }
    return 0;
}

int digitsOnly(int keyAscii)
{
    if (keyAscii == KeyBackspace || (keyAscii >= '0' && keyAscii <= '9')) {
        return keyAscii;
    }
    return 0;
}

int digitsAnd(int keyAscii, std::string_view extra)
{
    if (keyAscii > 0 && keyAscii <= 0x7F && extra.find(static_cast<char>(keyAscii)) != std::string_view::npos) {
        return keyAscii;
    }
    return digitsOnly(keyAscii);
}

} // namespace brindle
