#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// Where the AGW Packet Engine listens unless the operator says otherwise.
inline constexpr std::string_view DefaultAgwHost = "127.0.0.1";
inline constexpr int DefaultAgwPort = 8000;

// One message of the AGW Packet Engine's TCP interface: a 36-byte header (radio port, kind, protocol
// id, the calls from and to, the data length) and the data.
struct AgwFrame
{
    int port = 0;
    char kind = 0;
    int pid = 0;
    std::string callFrom;
    std::string callTo;
    std::string data;

    bool operator==(const AgwFrame&) const = default;
};

inline constexpr std::size_t AgwHeaderSize = 36;
// The engine's frames are a packet's worth of text; a length far beyond that is not an AGW stream.
inline constexpr std::size_t AgwMaxDataLength = 64 * 1024;
// The protocol id of plain text in AX.25 (no layer 3).
inline constexpr int AgwTextPid = 0xF0;

// The frame's bytes. A call is cut to 9 characters, so that its field always ends with a NUL.
std::string encodeAgwFrame(const AgwFrame& frame);

// The requests the logger sends.
std::string agwRegisterRequest(std::string_view ownCall);
// Monitoring is switched by each request: send it once per connection.
std::string agwMonitorRequest();
std::string agwConnectRequest(std::string_view ownCall, std::string_view station);
std::string agwDisconnectRequest(std::string_view ownCall, std::string_view station);
std::string agwDataRequest(std::string_view ownCall, std::string_view station, std::string_view data);

// Frames out of the bytes the engine sends, in whatever pieces the network delivers them.
class AgwFrameReader
{
public:
    struct Result
    {
        std::vector<AgwFrame> frames;
        // Set when the stream cannot be an AGW one (a data length beyond AgwMaxDataLength): what was
        // kept is dropped and the next byte is read as the start of a header.
        std::optional<std::string> broken;
    };

    Result take(std::string_view bytes);
    // The connection went: a part frame is dropped.
    void reset();
    std::size_t bytesKept() const
    {
        return m_kept.size();
    }

private:
    std::string m_kept;
};

} // namespace brindle
