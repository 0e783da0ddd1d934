// The Cabrillo and ADIF writers fed with whatever records the log reader accepts: no crash, and no
// line end or double quote inside a contact's line, which would break the file the sponsor reads.
#include "FuzzSupport.h"

#include "log/LogFormat.h"
#include "reports/Adif.h"
#include "reports/Cabrillo.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Header fields come from the default data and the summary sheet's fields, stored as storable text: no
// line ends and no double quotes.
std::string typedText(FuzzedDataProvider& input)
{
    std::string text = input.ConsumeRandomLengthString(40);
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '"'; });
    return text;
}

void requireWholeLines(std::string_view file, std::string_view contactPrefix)
{
    std::size_t start = 0;
    while (start < file.size()) {
        const std::size_t end = file.find("\r\n", start);
        const std::string_view line
            = file.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        brindle::fuzz::require(line.find_first_of("\r\n") == std::string_view::npos);
        brindle::fuzz::require(!line.starts_with(contactPrefix) || line.find('"') == std::string_view::npos);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    brindle::CabrilloHeader header;
    header.ownCall = typedText(input);
    header.power = typedText(input);
    header.mode = input.ConsumeBool() ? "CW" : "PH";
    header.claimedScore = typedText(input);
    header.section = typedText(input);
    header.soapbox = typedText(input);
    brindle::AdifExportSettings settings;
    settings.power = typedText(input);
    settings.comment = typedText(input);
    settings.mode = header.mode;
    const std::string countries = input.ConsumeRandomLengthString(4096);
    const brindle::ParsedLog parsed = brindle::parseLog(input.ConsumeRemainingBytesAsString());
    if (parsed.failure) {
        return 0;
    }
    requireWholeLines(brindle::cabrilloFile(parsed.log, header), "QSO:");
    const brindle::Result<brindle::AdifCountryTable> table = brindle::parseAdifCountryTable(countries);
    if (table) {
        requireWholeLines(brindle::adifFileText(parsed.log, table.value(), settings), "<CALL:");
    }
    return 0;
}
