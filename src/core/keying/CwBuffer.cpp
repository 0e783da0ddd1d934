#include "CwBuffer.h"

namespace brindle {

bool CwBuffer::claimSender()
{
    if (m_sending || m_text.empty()) {
        return false;
    }
    m_sending = true;
    return true;
}

bool CwBuffer::append(std::string_view text)
{
    std::lock_guard lock(m_mutex);
    m_text += text;
    return claimSender();
}

bool CwBuffer::replace(std::string_view text)
{
    std::lock_guard lock(m_mutex);
    m_text = text;
    return claimSender();
}

void CwBuffer::clear()
{
    std::lock_guard lock(m_mutex);
    m_text.clear();
}

bool CwBuffer::takeBackLast()
{
    std::lock_guard lock(m_mutex);
    if (m_text.empty()) {
        return false;
    }
    m_text.pop_back();
    return true;
}

std::optional<char> CwBuffer::takeNext()
{
    std::lock_guard lock(m_mutex);
    if (m_text.empty()) {
        m_sending = false;
        return std::nullopt;
    }
    const char next = m_text.front();
    m_text.erase(0, 1);
    return next;
}

bool CwBuffer::isSending() const
{
    std::lock_guard lock(m_mutex);
    return m_sending;
}

std::string CwBuffer::text() const
{
    std::lock_guard lock(m_mutex);
    return m_text;
}

} // namespace brindle
