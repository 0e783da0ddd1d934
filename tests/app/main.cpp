#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

// Besides the offscreen platform's own 800 × 800 screen, which stays the primary one, the screens the
// logger is fitted to, far enough apart that no test's window strays onto one by accident.
constexpr std::string_view OffscreenScreens = R"({ "screens": [
    { "name": "", "x": 0, "y": 0, "width": 800, "height": 800 },
    { "name": "1024x768", "x": 4000, "y": 0, "width": 1024, "height": 768 },
    { "name": "1366x768", "x": 8000, "y": 0, "width": 1366, "height": 768 },
    { "name": "1920x1080", "x": 12000, "y": 0, "width": 1920, "height": 1080 } ] })";

} // namespace

int main(int argc, char** argv)
{
    // Keep the settings store of the tests away from the user's own.
    const auto config = std::filesystem::temp_directory_path() / "brindle-app-tests-config";
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    // Tests run side by side, each process with its own copy of the screens.
    const auto screens = config / ("screens-" + std::to_string(::getpid()) + ".json");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || std::string_view(platform).empty() || std::string_view(platform) == "offscreen") {
        std::ofstream(screens) << OffscreenScreens;
        ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.string()).c_str(), 1);
    }
    QApplication app(argc, argv);
    std::filesystem::remove(screens);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
