// Whatever a cluster node, a TNC or line noise sends, in whatever pieces the reads cut it: the lines do not
// depend on where the reads cut the text, no line holds a line end, a NUL or more than the bound, and the
// pending text, the TNC's buffer and the monitor stay within their bounds. Every spot handed over begins
// with "DX" and ends with its line feed, the login prompt is answered at most once, and the Telnet
// protocol's bytes come out the same and are answered only with refusals.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "spots/LineSplitter.h"
#include "spots/MonitorText.h"
#include "spots/TelnetPolicy.h"
#include "spots/TelnetProtocol.h"
#include "spots/TncLines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using brindle::fuzz::require;

// Read sizes from the text itself, so the seeds stay plain session text.
std::vector<std::string_view> pieces(std::string_view text)
{
    std::uint32_t state = 2166136261u;
    for (const char c : text) {
        state = (state ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    std::vector<std::string_view> out;
    while (!text.empty()) {
        state = state * 1664525u + 1013904223u;
        const std::size_t size = std::min<std::size_t>(text.size(), 1 + (state >> 16) % 97);
        out.push_back(text.substr(0, size));
        text.remove_prefix(size);
    }
    return out;
}

void checkSplitter(std::string_view text, const std::vector<std::string_view>& reads, std::size_t bound)
{
    brindle::LineSplitter whole(bound);
    const std::vector<std::string> expected = whole.take(text);
    brindle::LineSplitter inPieces(bound);
    std::vector<std::string> lines;
    for (const std::string_view read : reads) {
        inPieces.take(read, lines);
        require(inPieces.pending().size() <= bound);
    }
    require(lines == expected);
    require(inPieces.pending() == whole.pending());
    brindle::LineSplitter byteByByte(bound);
    std::vector<std::string> single;
    for (std::size_t i = 0; i < text.size(); ++i) {
        byteByByte.take(text.substr(i, 1), single);
    }
    require(single == expected);
    for (const std::string& line : expected) {
        require(line.size() <= bound);
        require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> reads = pieces(text);

    checkSplitter(text, reads, LineSplitter::DefaultMaxLineLength);
    checkSplitter(text, reads, 16);

    // The TNC: the same lines and monitor whatever the reads, while the buffer's bound is not reached.
    TncLineBuffer wholeTnc;
    std::string wholeMonitor;
    const std::vector<std::string> wholeSpots = wholeTnc.take(text, wholeMonitor, false);
    TncLineBuffer tnc;
    std::string monitor;
    std::vector<std::string> spots;
    for (const std::string_view read : reads) {
        for (std::string& spot : tnc.take(read, monitor, false)) {
            spots.push_back(std::move(spot));
        }
        require(tnc.text().size() <= TncLineBuffer::TncBufferLimit);
        require(monitor.size() <= MonitorLimit);
    }
    if (text.size() < TncLineBuffer::TncBufferLimit) {
        require(spots == wholeSpots);
        require(monitor == wholeMonitor);
    }
    for (const std::string& spot : spots) {
        require(startsWithIgnoreCase(spot, "DX") && spot.ends_with('\n'));
    }

    LoginPromptWatch watch;
    std::int64_t now = 0;
    int answers = 0;
    for (const std::string_view read : reads) {
        answers += watch.take(read, now);
        now += static_cast<std::int64_t>(read.size()) * 7;
        answers += watch.due(now);
    }
    answers += watch.due(now + LoginPromptWatch::QuietMs);
    require(answers <= 1 && (answers == 1) == watch.prompted());

    // The Telnet protocol: the same text and answers whatever the reads, the text never longer than what
    // came, and nothing answered but a refusal.
    TelnetProtocol wholeTelnet;
    std::string wholeReplies;
    const std::string wholeText = wholeTelnet.take(text, wholeReplies);
    TelnetProtocol telnet;
    std::string telnetText;
    std::string replies;
    for (const std::string_view read : reads) {
        telnetText += telnet.take(read, replies);
    }
    require(telnetText == wholeText && replies == wholeReplies);
    require(telnetText.size() <= text.size());
    require(replies.size() % 3 == 0);
    for (std::size_t at = 0; at < replies.size(); at += 3) {
        const auto verb = static_cast<unsigned char>(replies[at + 1]);
        require(static_cast<unsigned char>(replies[at]) == TelnetProtocol::Iac
            && (verb == TelnetProtocol::Dont || verb == TelnetProtocol::Wont));
    }
    return 0;
}
