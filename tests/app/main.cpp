#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    // Keep the settings store of the tests away from the user's own.
    const auto config = std::filesystem::temp_directory_path() / "brindle-app-tests-config";
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
