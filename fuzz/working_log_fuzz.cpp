// The working log on a real disk: loaded from whatever the file holds, rewritten whole, one contact
// appended, and read back each time. Nothing logged may change or go on the way.
#include "FuzzSupport.h"

#include "log/LogFormat.h"
#include "log/WorkingLog.h"
#include "os/PosixFileSystem.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string& scratchFolder()
{
    static std::string folder;
    return folder;
}

void removeScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder(), ignored);
}

// One folder for the whole run; it goes when the run ends normally, and a crash leaves it for whoever
// looks into the crash.
const std::string& logPath()
{
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "brindle-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        scratchFolder() = pattern;
        std::atexit(removeScratchFolder);
        return brindle::joinPath(pattern, brindle::WorkingLog::FileName);
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using brindle::fuzz::require;
    FuzzedDataProvider input(data, size);
    // Whatever the entry form might hand over: the log makes it storable itself.
    brindle::QsoRecord added;
    for (int i = 0; i < brindle::QsoRecord::FieldCount; ++i) {
        added.field(i) = input.ConsumeRandomLengthString(16);
    }
    const std::string content = input.ConsumeRemainingBytesAsString();
    {
        std::ofstream out(logPath(), std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }

    brindle::PosixFileSystem fs;
    brindle::WorkingLog working(fs, logPath());
    if (working.load()) {
        return 0;
    }
    const brindle::ContestLog loaded = working.log();
    require(loaded == brindle::parseLog(content).log);

    require(working.rewrite(loaded).ok());
    brindle::WorkingLog rewritten(fs, logPath());
    require(!rewritten.load());
    require(rewritten.log() == loaded);

    if (loaded.isFull() || !rewritten.append(added).ok()) {
        return 0;
    }
    brindle::WorkingLog reread(fs, logPath());
    require(!reread.load());
    require(reread.log() == rewritten.log());
    require(reread.log().count() == loaded.count() + 1);
    return 0;
}
