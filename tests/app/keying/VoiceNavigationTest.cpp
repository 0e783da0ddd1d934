#include "keying/VoiceNavigationWindow.h"
#include "keying/VoicePromptPlayer.h"

#include "app/log/StartedMainWindow.h"
#include "common/FileSystem.h"
#include "support/MapSettingsStore.h"
#include "support/RecordingWavePlayer.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::readBytes;
using test::writeBytes;
using Names = std::vector<std::string>;

// The main window with voice prompts over a recording player and speaker, an operator who has recorded
// every prompt, and the navigation level the default data keeps.
class VoiceNavigationTest : public test::StartedMainWindow
{
protected:
    explicit VoiceNavigationTest(VoiceNavLevel level = VoiceNavLevel::AllFields)
        : m_level(level)
    {
    }

    DefaultData initialDefaults() const override
    {
        DefaultData d = test::sampleDefaults();
        d.voiceNavLevel = static_cast<std::uint8_t>(m_level);
        return d;
    }
    MainWindowKeyers keyers() override
    {
        for (std::string_view prompt : { prompts::Call, prompts::SentReport, prompts::ReceivedReport, prompts::Section,
                 prompts::Country, prompts::Dupe, prompts::NavigationOff, prompts::NavigationOn }) {
            writeBytes(recording(prompt), "RIFF");
        }
        auto player = std::make_unique<test::RecordingWavePlayer>();
        auto sayer = std::make_unique<test::RecordingPromptSpeaker>();
        wave = player.get();
        speaker = sayer.get();
        auto prompts = std::make_unique<VoicePromptPlayer>(
            folders.workingDir, promptSettings, std::move(player), std::move(sayer));
        voice = prompts.get();
        MainWindowKeyers keyers;
        keyers.voice = std::move(prompts);
        return keyers;
    }
    // "Done" makes the working folder the current one, which the temporary folder must not stay.
    void TearDown() override
    {
        QDir::setCurrent(m_startFolder);
    }

    std::string recording(std::string_view prompt) const
    {
        return joinPath(folders.workingDir, promptFileName(prompt));
    }
    // The recordings asked for since the last look, by file name.
    Names asked()
    {
        Names names;
        for (const std::string& path : wave->played) {
            names.push_back(std::filesystem::path(path).filename().string());
        }
        wave->played.clear();
        return names;
    }
    // The operator moves to a field; what the window left for the event loop runs.
    void focus(const char* name)
    {
        field(name)->setFocus();
        QCoreApplication::processEvents();
    }
    // Whatever plays or waits its turn is heard to its end.
    void hearToTheEnd()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] {
            wave->finish();
            speaker->finish();
            return !voice->isPlaying();
        }));
    }
    // The first prompt, with whatever announces navigation before it, has been heard.
    void navigationInUse()
    {
        focus("rstRcvdField");
        focus("callField");
        hearToTheEnd();
        asked();
    }
    // The operator leaves a call already worked on the band.
    void enterDuplicate()
    {
        startClock();
        typeCall("K1AB");
        leaveCall();
    }
    // The held keys stay held until ms have passed, then arrive in the call field in their order.
    void expectKeysAfter(std::int64_t ms, const char* call)
    {
        clock.monotonic += ms - 1;
        form->releaseDupeHold();
        EXPECT_EQ(field("callField")->text(), "");
        clock.monotonic += 1;
        form->releaseDupeHold();
        EXPECT_EQ(field("callField")->text(), call);
    }
    VoiceNavigationWindow* openWindow()
    {
        form->findChild<QAction*>(QStringLiteral("voiceNavigationAction"))->trigger();
        auto* window = form->findChild<VoiceNavigationWindow*>();
        EXPECT_NE(window, nullptr);
        return window;
    }
    template <class Control> Control* control(QWidget* window, const char* name)
    {
        auto* found = window->findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    test::MapSettingsStore promptSettings;
    test::RecordingWavePlayer* wave = nullptr;
    test::RecordingPromptSpeaker* speaker = nullptr;
    VoicePromptPlayer* voice = nullptr;

private:
    VoiceNavLevel m_level;
    QString m_startFolder = QDir::currentPath();
};

class VoiceNavigationOffTest : public VoiceNavigationTest
{
protected:
    VoiceNavigationOffTest()
        : VoiceNavigationTest(VoiceNavLevel::Off)
    {
    }
};

class VoiceNavigationCallOnlyTest : public VoiceNavigationTest
{
protected:
    VoiceNavigationCallOnlyTest()
        : VoiceNavigationTest(VoiceNavLevel::CallOnly)
    {
    }

    // Navigation coming into use says so first; the prompt asked for plays once that has ended.
    void expectNavigationOnThen(std::string_view prompt)
    {
        EXPECT_EQ(asked(), Names { "NavEn.wav" });
        wave->finish();
        ASSERT_TRUE(QTest::qWaitFor([this, prompt] { return wave->current() == recording(prompt); }));
        EXPECT_EQ(asked(), Names { promptFileName(prompt) });
    }
};

// What each entry field plays as it gets the focus, at one level; empty for nothing.
struct FieldPrompts
{
    VoiceNavLevel level;
    const char* rstRcvd;
    const char* section;
    const char* rstSent;
    const char* country;
    const char* call;
};

class FieldPromptsTest : public VoiceNavigationTest, public ::testing::WithParamInterface<FieldPrompts>
{
protected:
    FieldPromptsTest()
        : VoiceNavigationTest(GetParam().level)
    {
    }
};

TEST_P(FieldPromptsTest, eachFieldIsNamedAsTheLevelAsks)
{
    const FieldPrompts& expected = GetParam();
    navigationInUse();
    const struct
    {
        const char* field;
        const char* recording;
    } visits[] = {
        { "rstRcvdField", expected.rstRcvd },
        { "sectionField", expected.section },
        { "rstSentField", expected.rstSent },
        { "countryField", expected.country },
        { "callField", expected.call },
    };
    for (const auto& visit : visits) {
        SCOPED_TRACE(visit.field);
        focus(visit.field);
        EXPECT_EQ(asked(), *visit.recording ? Names { visit.recording } : Names {});
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, FieldPromptsTest,
    ::testing::Values(FieldPrompts { VoiceNavLevel::Off, "", "", "", "", "" },
        FieldPrompts { VoiceNavLevel::CallOnly, "", "", "", "", "Call.wav" },
        FieldPrompts { VoiceNavLevel::AllFields, "RstRcvd.wav", "State.wav", "RstSnt.wav", "Country.wav", "Call.wav" }),
    [](const ::testing::TestParamInfo<FieldPrompts>& info) {
        return std::string(info.param.level == VoiceNavLevel::Off ? "Off"
                : info.param.level == VoiceNavLevel::CallOnly     ? "CallOnly"
                                                                  : "AllFields");
    });

TEST_F(VoiceNavigationTest, theNextFieldsPromptCutsTheCallPromptOff)
{
    focus("rstRcvdField");
    asked();
    focus("callField");
    EXPECT_EQ(asked(), Names { "Call.wav" });
    EXPECT_EQ(wave->current(), recording(prompts::Call));
    focus("rstSentField");
    EXPECT_EQ(asked(), Names { "RstSnt.wav" });
    EXPECT_EQ(wave->current(), recording(prompts::SentReport));
}

TEST_F(VoiceNavigationTest, aMissingRecordingIsSilentUnlessTheOperatorWantsItSpoken)
{
    std::filesystem::remove(recording(prompts::Country));
    focus("countryField");
    EXPECT_EQ(asked(), Names { "Country.wav" });
    EXPECT_FALSE(voice->isPlaying());
    EXPECT_TRUE(speaker->said.empty());

    voice->setSpeaksMissingPrompts(true);
    focus("rstSentField");
    EXPECT_EQ(wave->current(), recording(prompts::SentReport));
    EXPECT_TRUE(speaker->said.empty()) << "a prompt with its recording is played, not spoken";
    focus("countryField");
    EXPECT_EQ(speaker->said, Names { "Country" });
    EXPECT_TRUE(voice->isPlaying()) << "while the words are said";
    focus("rstSentField");
    EXPECT_FALSE(speaker->isSpeaking()) << "the next prompt's recording cuts the words off";
    EXPECT_EQ(speaker->said, Names { "Country" });
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(VoiceNavigationTest, nothingTalksOverTheDupePromptAsTheFocusComesBackToTheCall)
{
    enterDuplicate();
    ASSERT_TRUE(field("callField")->hasFocus());
    EXPECT_EQ(asked(), Names { "Dupe.wav" });
    EXPECT_EQ(wave->current(), recording(prompts::Dupe));

    wave->finish();
    ASSERT_TRUE(QTest::qWaitFor([this] { return wave->current() == recording(prompts::Call); }))
        << "the field the focus came back to is named after the duplicate";
    wave->finish();
    focus("rstRcvdField");
    EXPECT_EQ(wave->current(), recording(prompts::ReceivedReport));
}

TEST_F(VoiceNavigationOffTest, aDuplicateStillPlaysDupeButHoldsKeysThreeSecondsWhateverPlays)
{
    enterDuplicate();
    EXPECT_EQ(asked(), Names { "Dupe.wav" });
    EXPECT_EQ(wave->current(), recording(prompts::Dupe));

    clock.monotonic += 1000;
    typeCall("w2");
    expectKeysAfter(2000, "W2");
    EXPECT_EQ(wave->current(), recording(prompts::Dupe)) << "the keys did not wait for it";
}

TEST_F(VoiceNavigationCallOnlyTest, keysWaitForTheDupePromptAndThreeSecondsAfterItsEnd)
{
    navigationInUse();
    enterDuplicate();
    ASSERT_EQ(wave->current(), recording(prompts::Dupe));

    // A prompt longer than the hold's own time.
    clock.monotonic += 5000;
    typeCall("w2");
    form->releaseDupeHold();
    EXPECT_EQ(field("callField")->text(), "") << "the prompt still plays";
    wave->finish();
    typeCall("x");
    expectKeysAfter(3000, "W2X");
}

TEST_F(VoiceNavigationCallOnlyTest, theFirstPromptIsPrecededByNavigationOn)
{
    focus("rstRcvdField");
    EXPECT_EQ(asked(), Names {});
    focus("callField");
    expectNavigationOnThen(prompts::Call);

    wave->finish();
    focus("rstRcvdField");
    focus("callField");
    EXPECT_EQ(asked(), Names { "Call.wav" }) << "only the first";
}

TEST_F(VoiceNavigationCallOnlyTest, aFirstDuplicateIsAnnouncedAfterNavigationOnWithNothingBetween)
{
    enterDuplicate();
    expectNavigationOnThen(prompts::Dupe);
}

TEST_F(VoiceNavigationTest, callOnlyAnnouncesNavigationThenTheCallWhileKeysWait)
{
    VoiceNavigationWindow* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(asked(), Names { "NavEn.wav" }) << "opening announces the stored level";
    hearToTheEnd();

    auto* speakMissing = control<QCheckBox>(window, "speakMissingCheck");
    control<QRadioButton>(window, "callOnlyOption")->click();
    EXPECT_EQ(wave->current(), recording(prompts::NavigationOn));
    speakMissing->setFocus();
    QTest::keyClick(speakMissing, Qt::Key_Space);
    EXPECT_FALSE(speakMissing->isChecked()) << "the key waits for the announcement";
    wave->finish();
    ASSERT_TRUE(QTest::qWaitFor([this] { return wave->current() == recording(prompts::Call); }));
    EXPECT_EQ(asked(), (Names { "NavEn.wav", "Call.wav" }));
    EXPECT_TRUE(QTest::qWaitFor([speakMissing] { return speakMissing->isChecked(); }))
        << "and acts once it has ended";
    EXPECT_EQ(wave->current(), recording(prompts::Call)) << "a key that chooses nothing cuts nothing off";
}

TEST_F(VoiceNavigationOffTest, doneKeepsTheChosenLevelAndTheMainWindowFollowsIt)
{
    VoiceNavigationWindow* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(asked(), Names { "NavDis.wav" });
    control<QRadioButton>(window, "allFieldsOption")->click();
    EXPECT_EQ(asked(), Names { "NavEn.wav" });

    control<QPushButton>(window, "doneButton")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), folders.workingDir));
    const QStringList lines
        = QString::fromStdString(readBytes(folders.workingDir + "/inprefDX.txt")).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 12);
    EXPECT_EQ(lines[11], "2");
    EXPECT_TRUE(dialogs.shown.empty());

    QApplication::setActiveWindow(form.get());
    focus("countryField");
    EXPECT_EQ(asked(), Names { "Country.wav" });
}

TEST_F(VoiceNavigationTest, theSpeakMissingChoiceIsKeptInTheSettingsStore)
{
    VoiceNavigationWindow* window = openWindow();
    ASSERT_NE(window, nullptr);
    auto* speakMissing = control<QCheckBox>(window, "speakMissingCheck");
    EXPECT_FALSE(speakMissing->isChecked());
    speakMissing->click();
    EXPECT_EQ(promptSettings.get(settingkeys::SpeakMissingPrompts, ""), "1");
    const VoicePromptPlayer nextStart(
        folders.workingDir, promptSettings, std::make_unique<test::RecordingWavePlayer>(), nullptr);
    EXPECT_TRUE(nextStart.speaksMissingPrompts());

    speakMissing->click();
    EXPECT_EQ(promptSettings.get(settingkeys::SpeakMissingPrompts, ""), "0");
    EXPECT_FALSE(voice->speaksMissingPrompts());
}

} // namespace
} // namespace brindle
