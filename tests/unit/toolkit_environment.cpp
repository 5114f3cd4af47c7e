// The unit tests use the toolkit's non-GUI parts (standard paths, XML, image
// handlers), which want an application object; a console one is enough.
#include <gtest/gtest.h>
#include <wx/init.h>

namespace {
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(wxInitialize()); }
    void TearDown() override { wxUninitialize(); }
};

const ::testing::Environment* const g_toolkit =
    ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);
} // namespace
