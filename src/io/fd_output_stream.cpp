#include "io/fd_output_stream.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Large enough that the header's many small blocks cost one system call.
constexpr std::size_t kBufferSize = 256 * 1024;

} // namespace

FdOutputStream::FdOutputStream(int fd) : m_fd(fd), m_buffer(kBufferSize) {}

bool FdOutputStream::Flush()
{
    if (m_errorCode == 0 && m_used > 0 && WriteAll(m_buffer.data(), m_used))
        m_used = 0;
    return m_errorCode == 0;
}

size_t FdOutputStream::OnSysWrite(const void* buffer, size_t size)
{
    const auto* data = static_cast<const std::uint8_t*>(buffer);
    if (m_used + size > m_buffer.size() && !Flush())
        return 0;
    if (size >= m_buffer.size())
        return WriteAll(data, size) ? size : 0;
    std::memcpy(m_buffer.data() + m_used, data, size);
    m_used += size;
    return size;
}

bool FdOutputStream::WriteAll(const std::uint8_t* data, std::size_t size)
{
    while (size > 0 && m_errorCode == 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing without an error still means a full device.
            m_errorCode = written < 0 ? errno : ENOSPC;
            m_lasterror = wxSTREAM_WRITE_ERROR;
            break;
        }
        data += written;
        size -= std::size_t(written);
    }
    return m_errorCode == 0;
}
