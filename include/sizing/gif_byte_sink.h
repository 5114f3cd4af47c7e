#pragma once

#include <wx/stream.h>

// An output stream that counts what is written and, when given another
// stream, passes it on; writes that would take it past `limit` bytes fail,
// so an encoder writing into it stops as soon as its file grows too large.
class GifByteSink : public wxOutputStream {
public:
    static constexpr long long kNoLimit = -1;

    explicit GifByteSink(long long limit = kNoLimit, wxOutputStream* next = nullptr) : m_limit(limit), m_next(next) {}

    long long Count() const { return m_count; }
    bool Overflowed() const { return m_overflowed; }

protected:
    size_t OnSysWrite(const void* buffer, size_t size) override;
    wxFileOffset OnSysTell() const override { return m_count; }

private:
    long long m_limit;
    wxOutputStream* m_next;
    long long m_count = 0;
    bool m_overflowed = false;
};
