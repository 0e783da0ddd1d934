#pragma once

#include "common/FileSystem.h"

#include <string>
#include <string_view>

namespace brindle {

inline constexpr std::string_view SharedPreferencesFileName = "SharedUserPreferences.xml";

// "SharedUserPreferences.xml": the own station's data published as simple tagged text for the maker's
// other programs. The whole file is held as one text; publishing replaces or adds one element and
// leaves everything else, including elements other programs wrote, byte for byte as it was.
class SharedPreferences
{
public:
    static constexpr std::string_view Header = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

    explicit SharedPreferences(FileSystem& fs);

    // Holds the file's text, or the header alone when there is no file yet. Nothing is written.
    void load(const std::string& path);

    // Sets element name (upper-cased) to value, adding it at the end when absent; writes the file
    // when saveNow is set. The value is the program's 8-bit text; the file holds it in the UTF-8 its
    // header declares.
    Status publish(std::string_view name, std::string_view value, bool saveNow);

    // Writes the held text followed by CR LF.
    Status save(const std::string& path);

    const std::string& text() const
    {
        return m_text;
    }
    const std::string& path() const
    {
        return m_path;
    }

private:
    FileSystem& m_fs;
    std::string m_path;
    std::string m_text;
};

} // namespace brindle
