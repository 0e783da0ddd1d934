#pragma once

#include <array>
#include <functional>

namespace brindle {

// The CW key, the phone keyer's PTT and the WinKey keyer may all sit on one physical port. Before one of
// them opens its port it claims it here, and the others that could hold the same device let theirs
// go: a serial port is held exclusively, and a parallel port claimed twice would wait for ever. The
// holders never reach into each other; each only says how it lets its port go.
class PortArbiter
{
public:
    enum class Holder
    {
        CwKey,
        PhonePtt,
        WinKey,
    };

    enum class Port
    {
        Serial,
        Parallel,
    };

    // How holder lets its port go (the key or PTT up first). Called on the window's thread.
    void setRelease(Holder holder, std::function<void()> release);
    // Before holder opens its port. A serial port: the CW key takes it from the phone keyer; the phone
    // keyer and the WinKey keyer take it from each other and from the CW key. The parallel port is held
    // by the CW key or the phone keyer's PTT only: the WinKey keyer, which is never on it, keeps its port.
    void claim(Holder holder, Port port = Port::Serial);

private:
    std::array<std::function<void()>, 3> m_release;
};

} // namespace brindle
