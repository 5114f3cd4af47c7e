#pragma once

// Toolkit assertions during a test: either they fail it, or they are
// recorded for a test that expects one. Either way no assertion dialog waits
// for an answer under Xvfb. The previous handler comes back with the object.

#include <wx/debug.h>
#include <wx/string.h>

#include <vector>

class AssertsFailTests {
public:
    AssertsFailTests();
    ~AssertsFailTests();
    AssertsFailTests(const AssertsFailTests&) = delete;
    AssertsFailTests& operator=(const AssertsFailTests&) = delete;

private:
    wxAssertHandler_t m_previous;
};

// Records the message (or the condition, when there is no message) of every
// assertion while it lives; one recorder at a time.
class AssertRecorder {
public:
    AssertRecorder();
    ~AssertRecorder();
    AssertRecorder(const AssertRecorder&) = delete;
    AssertRecorder& operator=(const AssertRecorder&) = delete;
    const std::vector<wxString>& Messages() const;

private:
    wxAssertHandler_t m_previous;
};
