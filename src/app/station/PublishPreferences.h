#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brindle {

class OperatorDialogs;
class SharedPreferences;

struct PublishedValue
{
    std::string_view element;
    std::string value;
};

// Publishes the values for the maker's other programs, saving the file with the last one. A file that
// cannot be written is a warning, not an error: only the other programs miss the update, and this
// program keeps working from its own files.
void publishForOtherPrograms(
    SharedPreferences& shared, OperatorDialogs& dialogs, const std::vector<PublishedValue>& values);

} // namespace brindle
