// "wave2.txt" as an operator may have edited it: whatever it holds gives settings that are written in a form
// that reads back the same. Settings as the window may hold them, whatever they are, are written so that
// they read back as they were, but for what the file cannot keep: quotes and line ends, and the blanks
// around a path.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "keying/PhoneSettings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The input cut into the values of a settings record, at each NUL byte.
brindle::PhoneSettings typedSettings(std::string_view content)
{
    brindle::PhoneSettings s;
    std::string* values[] = { &s.waveFiles[0], &s.waveFiles[1], &s.waveFiles[2], &s.waveFiles[3], &s.waveFiles[4],
        &s.waveFiles[5], &s.waveFiles[6], &s.waveFiles[7], &s.waveFiles[8], &s.pttPort, &s.loopSeconds,
        &s.parallelAddress };
    for (std::string* value : values) {
        const std::size_t end = std::min(content.find('\0'), content.size());
        *value = std::string(content.substr(0, end));
        content.remove_prefix(std::min(end + 1, content.size()));
    }
    s.pttLine = static_cast<brindle::PttLine>(content.size() % 3);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const PhoneSettings read = parsePhoneSettings(content);
    fuzz::require(parsePhoneSettings(formatPhoneSettings(read)) == read);

    const PhoneSettings typed = typedSettings(content);
    PhoneSettings expected = typed;
    for (std::string& path : expected.waveFiles) {
        path = std::string(trimBlanks(storableText(path)));
    }
    for (std::string* text : { &expected.pttPort, &expected.loopSeconds, &expected.parallelAddress }) {
        *text = storableText(*text);
    }
    fuzz::require(parsePhoneSettings(formatPhoneSettings(typed)) == expected);

    const int port = pttPortNumber(content);
    fuzz::require(port >= 0);
    return 0;
}
