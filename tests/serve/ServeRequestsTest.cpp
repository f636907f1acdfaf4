// Requests through the whole mapping, hostile ones first: each gets its status and a body
// that says why, and the site answers a normal request afterwards.
#include "ServeRequests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "ServeFiles.h"
#include "ServeSites.h"

namespace pelo::serve {
namespace {

using test::RecordingNotices;
using test::TempFolder;

constexpr TDateRec kToday{2026, 12, 7};
constexpr std::string_view kToken = "0123456789abcdef-token";

class ServeSiteTest : public testing::Test {
 protected:
  void SetUp() override { Start(""); }

  void Start(std::string_view token) {
    path_ = folder_.WriteCp932("a.nrk",
                               "2026/12/7 10:00 会議 <b>&\"x\"</b>\r\n"
                               "%\r\n議題は<予算>\r\n%\r\n"
                               "2026/12/24 クリスマス会\r\n"
                               "2027/6/1 遠い予定\r\n"
                               "2029/12/31 四年目の終わり\r\n");
    files_ = std::make_unique<TServeFiles>(notices_, kToday, std::vector<std::string>{path_},
                                           std::vector<std::string>{}, TFilterSet{});
    TSiteSettings settings;
    settings.token = token;
    settings.fallback_host = "127.0.0.1:8737";
    site_ = std::make_unique<TServeSite>(*files_, settings, [] { return kToday; });
  }

  TServeResponse Get(const std::string& target, const std::string& method = "GET") {
    TServeRequest request;
    request.method = method;
    request.target = target;
    request.host = "example.test:8737";
    return Respond(request, *site_);
  }

  TempFolder folder_;
  RecordingNotices notices_;
  std::string path_;
  std::unique_ptr<TServeFiles> files_;
  std::unique_ptr<TServeSite> site_;
};

TEST_F(ServeSiteTest, HostileRequestsGetTheirStatus) {
  const struct {
    std::string method;
    std::string target;
    int status;
  } cases[] = {
      {"POST", "/", 405},
      {"DELETE", "/calendar.ics", 405},
      {"", "/", 405},
      {"get", "/", 405},
      {"GET", "/" + std::string(kMaxTargetLength, 'a'), 414},
      {"GET", "/calendar.ics?x=" + std::string(kMaxTargetLength, 'a'), 414},
      {"GET", "", 400},
      {"GET", "calendar.ics", 400},
      {"GET", "http://example.test/", 400},
      {"GET", "/%zz", 400},
      {"GET", "/%4", 400},
      {"GET", "/%00", 400},
      {"GET", "/day/2026-12-07%0d%0aSet-Cookie:x", 400},
      {"GET", "/../etc/passwd", 404},
      {"GET", "/%2e%2e/%2e%2e/etc/passwd", 404},
      {"GET", "/day/../../a.nrk", 400},
      {"GET", "/a.nrk", 404},
      {"GET", "/calendar.ics/", 404},
      {"GET", "//calendar.ics", 404},
      {"GET", "/day/2026-02-30", 400},
      {"GET", "/day/1582-10-31", 400},
      {"GET", "/day/2151-01-01", 400},
      {"GET", "/day/2026-1-1", 400},
      {"GET", "/day/", 400},
      {"GET", "/?month=2026-13", 400},
      {"GET", "/?month=2026-00", 400},
      {"GET", "/?month=1582-10", 400},
      {"GET", "/?month=2151-01", 400},
      {"GET", "/?month=２０２６-12", 400},
      {"GET", "/calendar.ics?from=2026-13-01", 400},
      {"GET", "/calendar.ics?to=yesterday", 400},
      {"GET", "/calendar.ics?from=2026-12-07&to=2026-12-06", 400},
      {"GET", "/calendar.ics?from=2026-01-01&to=2030-01-01", 400},
      {"GET", "/calendar.ics?from=1582-11-01&to=2150-12-31", 400},
      {"GET", "/calendar.ics?from=2026-01-01&to=2029-12-31", 200},
      {"GET", "/calendar.ics?from=2150-01-01", 200},  // the default end stops at the last day
      {"GET", "/calendar.ics?from=1582-11-01&to=1582-11-30", 200},
      {"GET", "/?month=1582-11", 200},
      {"GET", "/?month=2150-12", 200},
      {"GET", "/day/2150-12-31", 200},
      {"HEAD", "/", 200},
      {"GET", "/?unknown=1&&=&month=2026-12", 200},
  };
  for (const auto& c : cases) {
    const TServeResponse response = Get(c.target, c.method);
    SCOPED_TRACE(c.method + " " + c.target.substr(0, 80));
    EXPECT_EQ(response.status, c.status);
    EXPECT_FALSE(response.body.empty());
    if (c.status >= 400) {
      EXPECT_EQ(response.Header("Content-Type"), "text/plain; charset=utf-8");
      // One line, in Japanese.
      EXPECT_EQ(response.body.find('\n'), response.body.size() - 1) << response.body;
      EXPECT_TRUE(std::any_of(response.body.begin(), response.body.end(),
                              [](char b) { return static_cast<unsigned char>(b) >= 0x80; }));
    }
    EXPECT_EQ(response.Header("X-Content-Type-Options"), "nosniff");
  }
  EXPECT_EQ(Get("/calendar.ics").status, 200);
  EXPECT_EQ(Get("/", "PUT").Header("Allow"), "GET, HEAD");
}

TEST_F(ServeSiteTest, TheTokenIsAskedForEverywhere) {
  Start(kToken);
  const std::string token(kToken);
  const struct {
    std::string target;
    std::string authorization;
    int status;
  } cases[] = {
      {"/", "", 401},
      {"/calendar.ics", "", 401},
      {"/nothing", "", 401},  // nothing is told without the token, not even what is there
      {"/calendar.ics", "Bearer wrong", 401},
      {"/calendar.ics", "Bearer " + token.substr(0, token.size() - 1), 401},
      {"/calendar.ics", "Bearer " + token + "x", 401},
      {"/calendar.ics", "Basic " + token, 401},
      {"/calendar.ics?token=", "", 401},
      {"/calendar.ics?token=" + token.substr(1), "", 401},
      {"/calendar.ics?token=wrong", "Bearer " + token, 401},  // the parameter is the one looked at
      {"/calendar.ics", "Bearer " + token, 200},
      {"/calendar.ics", "bearer  " + token + " ", 200},
      {"/calendar.ics?token=" + token, "", 200},
      {"/?token=" + token, "", 200},
      {"/nothing?token=" + token, "", 404},
  };
  for (const auto& c : cases) {
    TServeRequest request;
    request.method = "GET";
    request.target = c.target;
    request.authorization = c.authorization;
    SCOPED_TRACE(c.target + " / " + c.authorization);
    const TServeResponse response = Respond(request, *site_);
    EXPECT_EQ(response.status, c.status);
    if (c.status == 401) {
      EXPECT_EQ(response.body.find("会議"), std::string::npos);
    }
  }
  // A page reached with the parameter keeps it in its links and in the feed's address.
  const TServeResponse page = Get("/?token=" + token);
  EXPECT_NE(page.body.find("href=\"/day/2026-12-07?token=" + token + "\""), std::string::npos);
  EXPECT_NE(page.body.find("webcal://example.test:8737/calendar.ics?token=" + token),
            std::string::npos);
}

TEST_F(ServeSiteTest, TheFeedAndItsConditions) {
  const TServeResponse feed = Get("/calendar.ics");
  ASSERT_EQ(feed.status, 200);
  EXPECT_EQ(feed.Header("Content-Type"), "text/calendar; charset=utf-8");
  EXPECT_NE(feed.body.find("REFRESH-INTERVAL;VALUE=DURATION:PT1H\r\n"), std::string::npos);
  EXPECT_NE(feed.body.find("X-PUBLISHED-TTL:PT1H\r\n"), std::string::npos);
  // One month back to twelve on: the meeting and the party, not what lies past 2027/12/7.
  EXPECT_NE(feed.body.find("DTSTART:20261207T100000"), std::string::npos);
  EXPECT_NE(feed.body.find("SUMMARY:クリスマス会"), std::string::npos);
  EXPECT_NE(feed.body.find("SUMMARY:遠い予定"), std::string::npos);
  EXPECT_EQ(Get("/calendar.ics?from=2027-01-01").body.find("クリスマス会"), std::string::npos);
  // A span longer than the years one pass evaluates is read in several.
  const std::string four_years = Get("/calendar.ics?from=2026-01-01&to=2029-12-31").body;
  EXPECT_NE(four_years.find("SUMMARY:クリスマス会"), std::string::npos);
  EXPECT_NE(four_years.find("SUMMARY:四年目の終わり"), std::string::npos);
  EXPECT_EQ(feed.body.find("四年目"), std::string::npos);

  const std::string etag = feed.Header("ETag");
  const std::string modified = feed.Header("Last-Modified");
  ASSERT_FALSE(etag.empty());
  const struct {
    std::string target;
    std::string if_none_match;
    std::string if_modified_since;
    int status;
  } cases[] = {
      {"/calendar.ics", etag, "", 304},
      {"/calendar.ics", "\"other\", W/" + etag, "", 304},
      {"/calendar.ics", "*", "", 304},
      {"/calendar.ics", "\"other\"", "", 200},
      {"/calendar.ics", "\"other\"", modified, 200},  // the tag decides when there is one
      {"/calendar.ics", "", modified, 304},
      {"/calendar.ics", "", "Thu, 01 Jan 1970 00:00:00 GMT", 200},
      {"/calendar.ics", "", "not a date", 200},
      {"/calendar.ics?from=2026-12-01", etag, "", 200},  // another span, another tag
  };
  for (const auto& c : cases) {
    TServeRequest request;
    request.method = "GET";
    request.target = c.target;
    request.if_none_match = c.if_none_match;
    request.if_modified_since = c.if_modified_since;
    SCOPED_TRACE(c.target + " " + c.if_none_match + " " + c.if_modified_since);
    const TServeResponse response = Respond(request, *site_);
    EXPECT_EQ(response.status, c.status);
    EXPECT_EQ(response.body.empty(), c.status == 304);
  }
}

TEST_F(ServeSiteTest, PagesShowTheDaysEscaped) {
  const TServeResponse month = Get("/");
  ASSERT_EQ(month.status, 200);
  EXPECT_EQ(month.Header("Content-Type"), "text/html; charset=utf-8");
  const std::string& html = month.body;
  EXPECT_NE(html.find("2026年12月"), std::string::npos);
  EXPECT_NE(html.find("10:00 会議 &lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;"), std::string::npos);
  EXPECT_EQ(html.find("<b>&"), std::string::npos);
  EXPECT_NE(html.find("天皇誕生日"), std::string::npos);  // classic holidays by default
  EXPECT_NE(html.find("class=\"sat\""), std::string::npos);
  EXPECT_NE(html.find("today"), std::string::npos);
  EXPECT_NE(html.find("/?month=2026-11"), std::string::npos);
  EXPECT_NE(html.find("/?month=2027-01"), std::string::npos);
  EXPECT_NE(html.find(">購読</a>"), std::string::npos);
  EXPECT_NE(html.find("webcal://example.test:8737/calendar.ics"), std::string::npos);
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("議題"), std::string::npos);  // notes are the day's page's

  const std::string day = Get("/day/2026-12-07").body;
  EXPECT_NE(day.find("議題は&lt;予算&gt;"), std::string::npos);
  EXPECT_NE(day.find("/day/2026-12-06"), std::string::npos);
  EXPECT_NE(day.find("/day/2026-12-08"), std::string::npos);
  EXPECT_NE(Get("/day/2026-12-08").body.find("予定はありません"), std::string::npos);

  // A host that is no host name is not written into the page.
  TServeRequest request;
  request.method = "GET";
  request.target = "/";
  request.host = "\"><script>x</script>";
  EXPECT_NE(Respond(request, *site_).body.find("webcal://127.0.0.1:8737/calendar.ics"),
            std::string::npos);
}

}  // namespace
}  // namespace pelo::serve
