#pragma once

#include <wx/stream.h>

#include <cstdint>
#include <vector>

// An output stream that counts what is written and, when asked, keeps it;
// writes that would take it past `limit` bytes fail, so an encoder writing
// into it stops as soon as its file grows too large.
class GifByteSink : public wxOutputStream {
public:
    static constexpr long long kNoLimit = -1;

    explicit GifByteSink(long long limit = kNoLimit, bool keep = false) : m_limit(limit), m_keep(keep) {}

    long long Count() const { return m_count; }
    bool Overflowed() const { return m_overflowed; }
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override;
    wxFileOffset OnSysTell() const override { return m_count; }

private:
    long long m_limit;
    bool m_keep;
    long long m_count = 0;
    bool m_overflowed = false;
    std::vector<std::uint8_t> m_bytes;
};
