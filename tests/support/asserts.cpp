#include "asserts.h"

#include <gtest/gtest.h>

namespace {
std::vector<wxString> g_recorded;

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg)
{
    ADD_FAILURE_AT(static_cast<const char*>(file.utf8_str()), line)
        << "toolkit assertion in " << func << ": " << cond << " " << msg;
}

void RecordAssert(const wxString&, int, const wxString&, const wxString& cond, const wxString& msg)
{
    g_recorded.push_back(msg.empty() ? cond : msg);
}
} // namespace

AssertsFailTests::AssertsFailTests() : m_previous(wxSetAssertHandler(FailOnAssert)) {}

AssertsFailTests::~AssertsFailTests()
{
    wxSetAssertHandler(m_previous);
}

AssertRecorder::AssertRecorder() : m_previous(wxSetAssertHandler(RecordAssert))
{
    g_recorded.clear();
}

AssertRecorder::~AssertRecorder()
{
    wxSetAssertHandler(m_previous);
}

const std::vector<wxString>& AssertRecorder::Messages() const
{
    return g_recorded;
}
