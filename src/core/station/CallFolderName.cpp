#include "CallFolderName.h"

namespace brindle {

std::string callFolderName(std::string_view call)
{
    std::string stem;
    for (char c : call) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) {
            break;
        }
        stem += c;
    }
    return stem.empty() ? std::string("YourCall") : stem;
}

} // namespace brindle
