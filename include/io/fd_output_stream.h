#pragma once

#include <wx/stream.h>

#include <cstdint>
#include <vector>

// A buffered output stream into an open file descriptor, which it leaves
// open. Small writes gather in a buffer of fixed size, large ones go
// straight through, so memory does not grow with what is written. The first
// failed write stops the stream and keeps the system's reason.
class FdOutputStream : public wxOutputStream {
public:
    explicit FdOutputStream(int fd);

    // Writes out what the buffer holds; false when that or an earlier write failed.
    bool Flush();
    // The errno of the first failed write; 0 while none failed.
    int ErrorCode() const { return m_errorCode; }

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override;

private:
    bool WriteAll(const std::uint8_t* data, std::size_t size);

    int m_fd;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_used = 0;
    int m_errorCode = 0;
};
