#pragma once

#include "rig/RigControl.h"

#include <string>
#include <vector>

namespace brindle::test {

// A rig interface that keeps what it is asked to do: there is no radio to tune here.
class RecordingRigControl final : public RigControl
{
public:
    explicit RecordingRigControl(std::string name = std::string(NoRig))
        : m_name(std::move(name))
    {
    }
    bool isPolling() const override
    {
        return m_name != NoRig;
    }
    std::string rigName() const override
    {
        return m_name;
    }
    void changeFrequency(Hertz hertz) override
    {
        frequencies.push_back(hertz);
    }

    std::vector<Hertz> frequencies;

private:
    std::string m_name;
};

} // namespace brindle::test
