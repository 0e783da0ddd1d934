#pragma once

#include "keying/KeyingLine.h"

#include <chrono>
#include <mutex>
#include <vector>

namespace brindle::test {

// A keying line that notes the moment of every switch, as a transmitter's key input would see it, and
// can be told to stop working after a number of switches, as an unplugged adapter does.
class RecordingKeyingLine final : public KeyingLine
{
public:
    using Clock = std::chrono::steady_clock;

    struct Edge
    {
        Clock::time_point at;
        bool down;
    };

    Status setKeyDown(bool down) override
    {
        std::lock_guard lock(m_mutex);
        if (failAfter >= 0 && static_cast<int>(m_edges.size()) >= failAfter) {
            ++m_refusals;
            return Error { "Input/output error" };
        }
        m_edges.push_back({ Clock::now(), down });
        m_down = down;
        return {};
    }

    std::vector<Edge> edges() const
    {
        std::lock_guard lock(m_mutex);
        return m_edges;
    }
    bool isDown() const
    {
        std::lock_guard lock(m_mutex);
        return m_down;
    }
    int refusals() const
    {
        std::lock_guard lock(m_mutex);
        return m_refusals;
    }

    // The switches accepted before the line fails; -1 never fails.
    int failAfter = -1;

private:
    mutable std::mutex m_mutex;
    std::vector<Edge> m_edges;
    bool m_down = false;
    int m_refusals = 0;
};

} // namespace brindle::test
