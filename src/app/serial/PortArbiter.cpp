#include "PortArbiter.h"

#include <vector>

namespace brindle {

namespace {

std::vector<PortArbiter::Holder> takenFromBy(PortArbiter::Holder claimant)
{
    using Holder = PortArbiter::Holder;
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

void PortArbiter::claim(Holder holder)
{
    for (const Holder other : takenFromBy(holder)) {
        if (const auto& release = m_release[static_cast<std::size_t>(other)]) {
            release();
        }
    }
}

} // namespace brindle
