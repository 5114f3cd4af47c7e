#include "sizing/gif_byte_sink.h"

size_t GifByteSink::OnSysWrite(const void* buffer, size_t size)
{
    if (m_limit != kNoLimit && m_count + static_cast<long long>(size) > m_limit) {
        m_overflowed = true;
        m_lasterror = wxSTREAM_WRITE_ERROR;
        return 0;
    }
    if (m_keep) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    m_count += static_cast<long long>(size);
    return size;
}
