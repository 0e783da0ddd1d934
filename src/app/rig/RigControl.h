#pragma once

#include "rig/RigCommands.h"
#include "rig/RigProfile.h"

#include <QObject>
#include <QString>

#include <string>
#include <string_view>

namespace brindle {

// The rig interface as the main window uses it: what the radio reports comes back as signals, on the
// window's thread. Until a rig interface is set up its null implementation stands in.
class RigControl : public QObject
{
    Q_OBJECT

public:
    ~RigControl() override = default;
    // Start-up: the rig named in the default data ("None" for none) is polled with the settings of
    // the rig window's file.
    virtual void startUp(std::string_view rigName)
    {
        (void)rigName;
    }
    virtual bool isPolling() const = 0;
    // The rig chosen in the rig window, "None" for none.
    virtual std::string rigName() const
    {
        return std::string(NoRig);
    }
    // Takes the radio to a frequency, in the mode the band plan gives it there; only while it is polled.
    virtual void changeFrequency(Hertz hertz)
    {
        (void)hertz;
    }
    // Sets the radio's mode ("CW", "USB", ...); an empty mode is the band plan's for the frequency.
    virtual void changeMode(Hertz hertz, const std::string& mode)
    {
        (void)hertz;
        (void)mode;
    }
    // The program closes: a rig that must be let go of is told so, and polling ends.
    virtual void closeRig()
    {
    }

signals:
    // The rig's frequency after a read, when the operator lets it set the band and the logged
    // frequency.
    void frequencyReported(float freqMHz);
    // The rig's mode text after a read ("CW", "PH", "AM", "FM" or empty), unless the operator ignores it.
    void modeReported(const QString& mode);
    // Something the operator must know, for the message line.
    void noticeForOperator(const QString& text);
};

class NoRigControl final : public RigControl
{
    Q_OBJECT

public:
    bool isPolling() const override
    {
        return false;
    }
};

} // namespace brindle
