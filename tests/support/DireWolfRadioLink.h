#pragma once

#include "support/DireWolfProcess.h"
#include "support/PulseNullSink.h"

#include <QProcess>
#include <QString>

#include <memory>
#include <string>

namespace brindle::test {

// Two stations on one simplex channel: a Dire Wolf engine each, with its own AGW port, each playing into a
// null sink of its own on a private PulseAudio server and hearing the other's sink through its monitor,
// as each radio hears the other's transmitter and never its own. Dire Wolf reaches the sinks through
// ALSA's PulseAudio plugin (libasound2-plugins), and the server through the PULSE_SERVER that
// PulseNullSink sets for this process and its children.
class DireWolfRadioLink
{
public:
    DireWolfRadioLink(const QString& nearCall, const QString& farCall)
    {
        if (!m_sound.failure().empty()) {
            m_failure = m_sound.failure();
            return;
        }
        for (const QString& sink : { NearSink, FarSink }) {
            if (!loadNullSink(sink)) {
                return;
            }
        }
        m_near = std::make_unique<DireWolfProcess>(
            nearCall, alsaDevice(FarSink + QStringLiteral(".monitor")), alsaDevice(NearSink));
        m_far = std::make_unique<DireWolfProcess>(
            farCall, alsaDevice(NearSink + QStringLiteral(".monitor")), alsaDevice(FarSink));
        const std::string& failed = !m_near->failure().empty() ? m_near->failure() : m_far->failure();
        if (!failed.empty()) {
            m_failure = "a station's " + failed
                + "\n(its sound goes through ALSA's PulseAudio plugin: bash scripts/deps.sh --tests installs it)";
        }
    }
    DireWolfRadioLink(const DireWolfRadioLink&) = delete;
    DireWolfRadioLink& operator=(const DireWolfRadioLink&) = delete;

    // Empty once both engines listen on their AGW ports; otherwise why not.
    const std::string& failure() const
    {
        return m_failure;
    }
    DireWolfProcess& nearStation()
    {
        return *m_near;
    }
    DireWolfProcess& farStation()
    {
        return *m_far;
    }
    // Both engines' output, for a failure's message.
    std::string output()
    {
        return "near station:\n" + (m_near ? m_near->output().toStdString() : std::string()) + "\nfar station:\n"
            + (m_far ? m_far->output().toStdString() : std::string());
    }

private:
    static inline const QString NearSink = QStringLiteral("brindle_near");
    static inline const QString FarSink = QStringLiteral("brindle_far");

    // Dire Wolf keeps no more than 29 characters of a device's name: the short form, and short names.
    static QString alsaDevice(const QString& pulseDevice)
    {
        return QStringLiteral("pulse:") + pulseDevice;
    }
    bool loadNullSink(const QString& name)
    {
        QProcess control;
        control.setProcessChannelMode(QProcess::MergedChannels);
        // At Dire Wolf's own rate and in mono, so that nothing is resampled or mixed on the way.
        control.start(QStringLiteral("pactl"),
            { QStringLiteral("load-module"), QStringLiteral("module-null-sink"), QStringLiteral("sink_name=") + name,
                QStringLiteral("rate=%1").arg(DireWolfProcess::SampleRate), QStringLiteral("channels=1") });
        if (!control.waitForFinished(10000)) {
            m_failure
                = "pactl cannot load the null sink " + name.toStdString() + ": " + control.errorString().toStdString();
            return false;
        }
        if (control.exitStatus() != QProcess::NormalExit || control.exitCode() != 0) {
            m_failure = "the null sink " + name.toStdString() + " cannot be loaded: " + control.readAll().toStdString();
            return false;
        }
        return true;
    }

    PulseNullSink m_sound;
    std::string m_failure;
    // Stopped before the sound server goes.
    std::unique_ptr<DireWolfProcess> m_near;
    std::unique_ptr<DireWolfProcess> m_far;
};

} // namespace brindle::test
