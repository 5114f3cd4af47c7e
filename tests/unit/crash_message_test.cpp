// The text that tells the user where the crash report lies.
#include "crash_report.h"

#include <gtest/gtest.h>

TEST(CrashMessage, NamesTheFolderAndKeepsTheLineBreaks)
{
    EXPECT_EQ(CrashReportMessage("/tmp/gifmakerdbgrpt-12-20260101T000000"),
              "Application have crashed due to some unknown reasons,\nPlease email the zip crashing "
              "report file that is generated in \n/tmp/gifmakerdbgrpt-12-20260101T000000\n to us.");
}

TEST(CrashMessage, PercentSignsInTheFolderAreHarmless)
{
    const wxString message = CrashReportMessage("/tmp/100%s%d%n");
    EXPECT_NE(message.Find("\n/tmp/100%s%d%n\n"), wxNOT_FOUND);
}
