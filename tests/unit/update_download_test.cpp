// Downloads against a real HTTP server on the loopback interface.
#include "local_http_server.h"
#include "test_paths.h"
#include "url_download.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>

#include <string>

namespace {
// Short enough to keep the suite quick, long enough for a loaded machine.
constexpr long kTestTimeoutMs = 1500;
constexpr std::size_t kTestMaxBytes = 4096;
const DownloadLimits kLimits{kTestTimeoutMs, kTestMaxBytes};
} // namespace

TEST(UrlDownload, FetchesTheBody)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    server.Serve(200, "<u/>");
    std::string body;
    EXPECT_TRUE(DownloadToMemory(server.Url("/x-update.xml"), kLimits, body));
    EXPECT_EQ(body, "<u/>");
}

TEST(UrlDownload, AnErrorStatusFails)
{
    LocalHttpServer server;
    server.Serve(404, "<html>Not Found</html>");
    std::string body;
    EXPECT_FALSE(DownloadToMemory(server.Url("/x-update.xml"), kLimits, body));
    EXPECT_TRUE(body.empty());
}

TEST(UrlDownload, ABodyOverTheLimitFails)
{
    LocalHttpServer server;
    server.Serve(200, std::string(kTestMaxBytes + 1, 'x'));
    std::string body;
    EXPECT_FALSE(DownloadToMemory(server.Url("/x"), kLimits, body));
    server.Serve(200, std::string(kTestMaxBytes + 1, 'x'), false);
    EXPECT_FALSE(DownloadToMemory(server.Url("/x"), kLimits, body));
    server.Serve(200, std::string(kTestMaxBytes, 'x'), false);
    EXPECT_TRUE(DownloadToMemory(server.Url("/x"), kLimits, body));
    EXPECT_EQ(body.size(), kTestMaxBytes);
}

TEST(UrlDownload, AServerThatNeverAnswersTimesOut)
{
    LocalHttpServer server;
    server.NeverAnswer();
    std::string body;
    EXPECT_FALSE(DownloadToMemory(server.Url("/x"), kLimits, body));
    EXPECT_EQ(server.RequestCount(), 1);
}

TEST(UrlDownload, NoServerFails)
{
    std::string url;
    {
        LocalHttpServer server;
        url = server.Url("/x");
    }
    std::string body;
    EXPECT_FALSE(DownloadToMemory(url, kLimits, body));
}

TEST(UrlDownload, OtherSchemesAreRefused)
{
    std::string body;
    EXPECT_FALSE(DownloadToMemory("gopher://127.0.0.1/x", kLimits, body));
    EXPECT_FALSE(DownloadToMemory("dict://127.0.0.1/x", kLimits, body));
}

TEST(UrlDownload, ReadsALocalFile)
{
    TempDir dir;
    const wxString path = dir.File("gifmaker-update.xml");
    ASSERT_TRUE(wxFFile(path, "w").Write("<u/>"));
    std::string body;
    EXPECT_TRUE(DownloadToMemory("file://" + path, kLimits, body));
    EXPECT_EQ(body, "<u/>");
    EXPECT_FALSE(DownloadToMemory("file://" + dir.File("missing.xml"), kLimits, body));
}
