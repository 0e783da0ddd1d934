#pragma once

#include "keying/KeyingLine.h"
#include "keying/MorseSender.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace brindle::test {

// A keying line that notes the moment of every switch, as a transmitter's key input would see it, and
// can be told to stop working after a number of switches, as an unplugged adapter does.
class RecordingKeyingLine final : public KeyingLine
{
public:
    using Clock = KeyingClock::Clock;

    // Edges are stamped with this clock: the computer's unless a test moves its own.
    explicit RecordingKeyingLine(KeyingClock& clock = systemKeyingClock())
        : m_clock(clock)
    {
    }

    struct Edge
    {
        Clock::time_point at;
        bool down;
        std::thread::id thread;
    };

    Status setKeyDown(bool down) override
    {
        std::lock_guard lock(m_mutex);
        if (failAfter >= 0 && static_cast<int>(m_edges.size()) >= failAfter) {
            ++m_refusals;
            m_down = false; // an unplugged adapter's lines go with it
            return Error { "Input/output error" };
        }
        m_edges.push_back({ m_clock.now(), down, std::this_thread::get_id() });
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
    std::atomic<int> failAfter = -1;

private:
    KeyingClock& m_clock;
    mutable std::mutex m_mutex;
    std::vector<Edge> m_edges;
    bool m_down = false;
    int m_refusals = 0;
};

} // namespace brindle::test

namespace brindle::test {

// Hands out one recording line, as the keyer's port would be opened; can be told to refuse, as a port
// that is missing or in use does.
class RecordingLineSource final : public KeyingLineSource
{
public:
    explicit RecordingLineSource(RecordingKeyingLine& line)
        : m_line(line)
    {
    }

    Result<KeyingLine*> openLine() override
    {
        if (!m_open) {
            if (refusal.load() != nullptr) {
                return Error { std::string(refusal.load()) };
            }
            ++opens;
            m_open = true;
        }
        return &m_line;
    }
    void closeLine() override
    {
        if (m_open) {
            (void)m_line.setKeyDown(false);
            m_open = false;
            ++closes;
        }
    }

    // The reason given for refusing to open; nullptr opens.
    std::atomic<const char*> refusal = nullptr;
    std::atomic<int> opens = 0;
    std::atomic<int> closes = 0;

private:
    RecordingKeyingLine& m_line;
    bool m_open = false;
};

// The keyer owns the line source it is given; a test or benchmark keeps the one it looks at and lends it.
class BorrowedLineSource final : public KeyingLineSource
{
public:
    explicit BorrowedLineSource(KeyingLineSource& source)
        : m_source(source)
    {
    }
    Result<KeyingLine*> openLine() override
    {
        return m_source.openLine();
    }
    void closeLine() override
    {
        m_source.closeLine();
    }

private:
    KeyingLineSource& m_source;
};

// For whatever the keyer asks the line for by, the line the test looks at.
inline auto lendingTo(KeyingLineSource& source)
{
    return [&source](const auto&...) -> std::unique_ptr<KeyingLineSource> {
        return std::make_unique<BorrowedLineSource>(source);
    };
}

} // namespace brindle::test
