#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <cstdlib>
#include <unistd.h>

namespace brindle::test {

// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brindle-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const
    {
        return m_path;
    }
    std::string file(std::string_view name) const
    {
        return m_path + "/" + std::string(name);
    }

private:
    std::string m_path;
};

inline void writeBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string fixturePath(std::string_view relative)
{
    return std::string(BRINDLE_FIXTURES_DIR) + "/" + std::string(relative);
}

inline std::string fixture(std::string_view relative)
{
    return readBytes(fixturePath(relative));
}

} // namespace brindle::test
