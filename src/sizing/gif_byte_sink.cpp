#include "sizing/gif_byte_sink.h"

size_t GifByteSink::OnSysWrite(const void* buffer, size_t size)
{
    if (m_limit != kNoLimit && m_count + static_cast<long long>(size) > m_limit) {
        m_overflowed = true;
        m_lasterror = wxSTREAM_WRITE_ERROR;
        return 0;
    }
    if (m_next && m_next->Write(buffer, size).LastWrite() != size) {
        m_lasterror = wxSTREAM_WRITE_ERROR;
        return 0;
    }
    m_count += static_cast<long long>(size);
    return size;
}
