#include "SharedPreferences.h"

#include "common/Text.h"

namespace brindle {

SharedPreferences::SharedPreferences(FileSystem& fs)
    : m_fs(fs)
    , m_text(Header)
{
}

void SharedPreferences::load(const std::string& path)
{
    m_path = path;
    Result<std::string> content = m_fs.readFile(path);
    if (!content) {
        m_text = Header;
        return;
    }
    m_text = std::move(content).value();
    // The file ends with the CR LF written after its last element; another program may have left a
    // bare LF or nothing, and cutting two characters regardless would eat the end of a value.
    if (m_text.ends_with("\r\n")) {
        m_text.resize(m_text.size() - 2);
    } else if (m_text.ends_with('\n')) {
        m_text.pop_back();
    }
}

Status SharedPreferences::publish(std::string_view name, std::string_view value, bool saveNow)
{
    const std::string tag = toUpperAscii(name);
    const std::string stored = latin1ToUtf8(value);
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const std::size_t found = m_text.find(open);
    if (found == std::string::npos) {
        m_text += "\r\n" + open + stored + close;
    } else {
        const std::size_t valueStart = found + open.size();
        std::size_t valueEnd = m_text.find(close, valueStart);
        std::string tail;
        if (valueEnd == std::string::npos) {
            // An element with no closing tag: its value is taken to run to the end of its line, and
            // the closing tag is restored, so the elements after it survive.
            valueEnd = m_text.find_first_of("\r\n", valueStart);
            if (valueEnd == std::string::npos) {
                valueEnd = m_text.size();
            }
            tail = close;
        }
        m_text.replace(valueStart, valueEnd - valueStart, stored + tail);
    }
    if (saveNow) {
        return save(m_path);
    }
    return {};
}

Status SharedPreferences::save(const std::string& path)
{
    m_path = path;
    return m_fs.replaceFile(path, m_text + "\r\n");
}

} // namespace brindle
