#include "PortArbiter.h"

#include <vector>

namespace brindle {

namespace {

std::vector<PortArbiter::Holder> takenFromBy(PortArbiter::Holder claimant, PortArbiter::Port port)
{
    using Holder = PortArbiter::Holder;
    if (port == PortArbiter::Port::Parallel) {
        switch (claimant) {
        case Holder::CwKey:
            return { Holder::PhonePtt };
        case Holder::PhonePtt:
            return { Holder::CwKey };
        case Holder::WinKey:
            break;
        }
        return {};
    }
    switch (claimant) {
    case Holder::CwKey:
        return { Holder::PhonePtt };
    case Holder::PhonePtt:
        return { Holder::WinKey, Holder::CwKey };
    case Holder::WinKey:
        break;
    }
    return { Holder::PhonePtt, Holder::CwKey };
}

} // namespace

void PortArbiter::setRelease(Holder holder, std::function<void()> release)
{
    m_release[static_cast<std::size_t>(holder)] = std::move(release);
}

void PortArbiter::claim(Holder holder, Port port)
{
    for (const Holder other : takenFromBy(holder, port)) {
        if (const auto& release = m_release[static_cast<std::size_t>(other)]) {
            release();
        }
    }
}

} // namespace brindle
