// SharedUserPreferences.xml as another program may have left it, then elements published into it: the
// published value must be what the element then holds, and nothing else in the file may go.
#include "common/FileSystem.h"
#include "common/Text.h"
#include "station/SharedPreferences.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

// The one file this target reads and writes, in memory: the parsing is what is fuzzed, not the disk.
class OneFile : public brindle::FileSystem
{
public:
    std::map<std::string, std::string> files;

    brindle::Result<std::string> readFile(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end()) {
            return brindle::Error { "no such file" };
        }
        return found->second;
    }
    brindle::Status appendLine(const std::string& path, std::string_view line) override
    {
        files[path] += std::string(line);
        return {};
    }
    brindle::Status replaceFile(const std::string& path, std::string_view content) override
    {
        files[path] = std::string(content);
        return {};
    }
    brindle::Status removeInterruptedReplacements(const std::string&) override
    {
        return {};
    }
    brindle::Result<bool> writeNewFile(const std::string& path, std::string_view content) override
    {
        return files.emplace(path, std::string(content)).second;
    }
    brindle::Result<bool> folderExists(const std::string&) override
    {
        return true;
    }
    brindle::Status createFolder(const std::string&) override
    {
        return {};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    OneFile fs;
    const std::string path = "SharedUserPreferences.xml";
    fs.files[path] = input.ConsumeRandomLengthString(8 * 1024);
    brindle::SharedPreferences prefs(fs);
    prefs.load(path);
    while (input.remaining_bytes() > 0) {
        // Element names are the program's own upper-case words; values are storable typed text.
        std::string name = input.ConsumeRandomLengthString(12);
        std::erase_if(name, [](char c) { return !((c >= 'A' && c <= 'Z') || c == '_'); });
        if (name.empty()) {
            continue;
        }
        std::string value = brindle::storableText(input.ConsumeRandomLengthString(24));
        std::erase_if(value, [](char c) { return c == '<' || c == '>'; });
        (void)prefs.publish(name, value, input.ConsumeBool());
        const std::string element = "<" + name + ">" + brindle::latin1ToUtf8(value) + "</" + name + ">";
        if (prefs.text().find(element) == std::string::npos) {
            __builtin_trap();
        }
    }
    return 0;
}
