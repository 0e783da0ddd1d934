#include "AgwFrame.h"

#include <algorithm>
#include <cstdint>

namespace brindle {

namespace {

constexpr std::size_t CallFieldSize = 10;
constexpr std::size_t CallFromAt = 8;
constexpr std::size_t CallToAt = CallFromAt + CallFieldSize;
constexpr std::size_t DataLengthAt = CallToAt + CallFieldSize;

void putCall(std::string& header, std::size_t at, std::string_view call)
{
    const std::size_t length = std::min(call.size(), CallFieldSize - 1);
    std::copy_n(call.begin(), length, header.begin() + static_cast<std::ptrdiff_t>(at));
}

std::string callIn(std::string_view header, std::size_t at)
{
    const std::string_view field = header.substr(at, CallFieldSize);
    return std::string(field.substr(0, field.find('\0')));
}

void putLittleEndian(std::string& header, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        header[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint32_t littleEndianIn(std::string_view header, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(header[at + i])) << (8 * i);
    }
    return value;
}

std::string request(char kind, std::string_view from, std::string_view to, std::string_view data = {})
{
    return encodeAgwFrame(
        { 0, kind, kind == 'D' ? AgwTextPid : 0, std::string(from), std::string(to), std::string(data) });
}

} // namespace

std::string encodeAgwFrame(const AgwFrame& frame)
{
    std::string bytes(AgwHeaderSize, '\0');
    bytes[0] = static_cast<char>(frame.port);
    bytes[4] = frame.kind;
    bytes[6] = static_cast<char>(frame.pid);
    putCall(bytes, CallFromAt, frame.callFrom);
    putCall(bytes, CallToAt, frame.callTo);
    putLittleEndian(bytes, DataLengthAt, static_cast<std::uint32_t>(frame.data.size()));
    return bytes + frame.data;
}

std::string agwRegisterRequest(std::string_view ownCall)
{
    return request('X', ownCall, {});
}

std::string agwMonitorRequest()
{
    return request('m', {}, {});
}

std::string agwConnectRequest(std::string_view ownCall, std::string_view station)
{
    return request('C', ownCall, station);
}

std::string agwDisconnectRequest(std::string_view ownCall, std::string_view station)
{
    return request('d', ownCall, station);
}

std::string agwDataRequest(std::string_view ownCall, std::string_view station, std::string_view data)
{
    return request('D', ownCall, station, data);
}

AgwFrameReader::Result AgwFrameReader::take(std::string_view bytes)
{
    Result result;
    m_kept.append(bytes);
    std::size_t at = 0;
    while (m_kept.size() - at >= AgwHeaderSize) {
        const std::string_view header = std::string_view(m_kept).substr(at, AgwHeaderSize);
        const std::uint32_t dataLength = littleEndianIn(header, DataLengthAt);
        if (dataLength > AgwMaxDataLength) {
            result.broken = "a frame of " + std::to_string(dataLength) + " bytes, more than an AGW Packet Engine sends";
            m_kept.clear();
            return result;
        }
        if (m_kept.size() - at - AgwHeaderSize < dataLength) {
            break;
        }
        result.frames.push_back(
            { static_cast<unsigned char>(header[0]), header[4], static_cast<unsigned char>(header[6]),
                callIn(header, CallFromAt), callIn(header, CallToAt), m_kept.substr(at + AgwHeaderSize, dataLength) });
        at += AgwHeaderSize + dataLength;
    }
    m_kept.erase(0, at);
    return result;
}

void AgwFrameReader::reset()
{
    m_kept.clear();
}

} // namespace brindle
