// Requests through the whole mapping, hostile ones first: each gets its status and a body
// that says why, and the site answers a normal request afterwards.
#include "ServeRequests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "DataFileTesting.h"
#include "RecordingNotices.h"
#include "ServeFiles.h"
#include "ServeSites.h"

namespace pelo::serve {
namespace {

constexpr TDateRec kToday{2026, 12, 7};
constexpr std::string_view kToken = "0123456789abcdef-token";

class ServeSiteTest : public testing::Test {
 protected:
  void SetUp() override { Start(""); }

  void Start(std::string_view token) {
    const std::string path = folder_.WriteCp932("a.nrk",
                                                "2026/12/7 10:00 会議 <b>&\"x\"</b>\r\n"
                                                "%\r\n議題は<予算>\r\n%\r\n"
                                                "2026/12/24 クリスマス会\r\n2027/6/1 遠い予定\r\n"
                                                "2029/12/31 四年目の終わり\r\n");
    files_ = std::make_unique<TServeFiles>(notices_, kToday, std::vector<std::string>{path},
                                           std::vector<std::string>{}, TFilterSet{});
    TSiteSettings settings;
    settings.token = token;
    settings.fallback_host = "127.0.0.1:8737";
    site_ = std::make_unique<TServeSite>(*files_, settings, [] { return kToday; });
  }

  TServeResponse Get(const std::string& target, const std::string& method = "GET") {
    return Send({method, target, "example.test:8737", "", "", ""});
  }
  TServeResponse Send(const TServeRequest& request) { return Respond(request, *site_); }

  test::TempFolder folder_;
  test::RecordingNotices notices_;
  std::unique_ptr<TServeFiles> files_;
  std::unique_ptr<TServeSite> site_;
};

TEST_F(ServeSiteTest, HostileRequestsGetTheirStatus) {
  const std::string too_long(kMaxTargetLength, 'a');
  const struct {
    int status;
    std::string method;
    std::string targets;  // separated by spaces
  } cases[] = {
      {405, "POST", "/"},
      {405, "DELETE", "/calendar.ics"},
      {405, "", "/"},
      {405, "get", "/"},
      {414, "GET", "/" + too_long + " /calendar.ics?x=" + too_long},
      {400, "GET", ""},
      {400, "GET",
       "calendar.ics http://example.test/ /%zz /%4 /%00 /day/2026-12-07%0d%0aSet-Cookie:x "
       "/day/../../a.nrk /day/2026-02-30 /day/1582-10-31 /day/2151-01-01 /day/2026-1-1 /day/ "
       "/?month=2026-13 /?month=2026-00 /?month=1582-10 /?month=2151-01 /?month=２０２６-12 "
       "/calendar.ics?from=2026-13-01 /calendar.ics?to=yesterday "
       "/calendar.ics?from=2026-12-07&to=2026-12-06 /calendar.ics?from=2026-01-01&to=2030-01-01 "
       "/calendar.ics?from=1582-11-01&to=2150-12-31"},
      {404, "GET", "/../etc/passwd /%2e%2e/%2e%2e/etc/passwd /a.nrk /calendar.ics/ //calendar.ics"},
      // From 2150 on the default end stops at the last day.
      {200, "GET",
       "/calendar.ics?from=2026-01-01&to=2029-12-31 /calendar.ics?from=2150-01-01 "
       "/calendar.ics?from=1582-11-01&to=1582-11-30 /?month=1582-11 /?month=2150-12 "
       "/day/2150-12-31 /?unknown=1&&=&month=2026-12 /calendar.ics"},
      {200, "HEAD", "/"},
  };
  for (const auto& c : cases) {
    for (size_t begin = 0, end = 0; begin <= c.targets.size(); begin = end + 1) {
      end = std::min(c.targets.find(' ', begin), c.targets.size());
      const std::string target = c.targets.substr(begin, end - begin);
      const TServeResponse response = Get(target, c.method);
      SCOPED_TRACE(c.method + " " + target.substr(0, 80));
      EXPECT_EQ(response.status, c.status);
      EXPECT_FALSE(response.body.empty());
      EXPECT_EQ(response.Header("X-Content-Type-Options"), "nosniff");
      if (c.status < 400) continue;
      EXPECT_EQ(response.Header("Content-Type"), "text/plain; charset=utf-8");
      // One line, in Japanese.
      EXPECT_EQ(response.body.find('\n'), response.body.size() - 1) << response.body;
      EXPECT_TRUE(std::any_of(response.body.begin(), response.body.end(),
                              [](char b) { return static_cast<unsigned char>(b) >= 0x80; }));
    }
  }
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
    SCOPED_TRACE(c.target + " / " + c.authorization);
    const TServeResponse response = Send({"GET", c.target, "", c.authorization, "", ""});
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

// Each of the texts is in the body, or with a leading '!' is not.
void ExpectTexts(const std::string& body, std::initializer_list<std::string_view> texts) {
  for (const std::string_view text : texts) {
    const bool wanted = !text.starts_with('!');
    EXPECT_EQ(body.find(text.substr(wanted ? 0 : 1)) != std::string::npos, wanted) << text;
  }
}

TEST_F(ServeSiteTest, TheFeedAndItsConditions) {
  const TServeResponse feed = Get("/calendar.ics");
  ASSERT_EQ(feed.status, 200);
  EXPECT_EQ(feed.Header("Content-Type"), "text/calendar; charset=utf-8");
  // One month back to twelve on: the meeting and the party, not what lies past 2027/12/7.
  ExpectTexts(feed.body,
              {"REFRESH-INTERVAL;VALUE=DURATION:PT1H\r\n", "X-PUBLISHED-TTL:PT1H\r\n",
               "DTSTART:20261207T100000", "SUMMARY:クリスマス会", "SUMMARY:遠い予定", "!四年目"});
  ExpectTexts(Get("/calendar.ics?from=2027-01-01").body, {"!クリスマス会"});
  // A span longer than the years one pass evaluates is read in several.
  ExpectTexts(Get("/calendar.ics?from=2026-01-01&to=2029-12-31").body,
              {"SUMMARY:クリスマス会", "SUMMARY:四年目の終わり"});

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
    SCOPED_TRACE(c.target + " " + c.if_none_match + " " + c.if_modified_since);
    const TServeResponse response =
        Send({"GET", c.target, "", "", c.if_none_match, c.if_modified_since});
    EXPECT_EQ(response.status, c.status);
    EXPECT_EQ(response.body.empty(), c.status == 304);
  }
}

TEST_F(ServeSiteTest, PagesShowTheDaysEscaped) {
  const TServeResponse month = Get("/");
  ASSERT_EQ(month.status, 200);
  EXPECT_EQ(month.Header("Content-Type"), "text/html; charset=utf-8");
  // Classic holidays by default; the notes are the day's page's.
  ExpectTexts(month.body,
              {"2026年12月", "10:00 会議 &lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;", "!<b>&",
               "天皇誕生日", "class=\"sat\"", "today", "/?month=2026-11", "/?month=2027-01",
               ">購読</a>", "webcal://example.test:8737/calendar.ics", "!<script", "!議題"});
  ExpectTexts(Get("/day/2026-12-07").body,
              {"議題は&lt;予算&gt;", "/day/2026-12-06", "/day/2026-12-08"});
  ExpectTexts(Get("/day/2026-12-08").body, {"予定はありません"});
  // A host that is no host name is not written into the page.
  ExpectTexts(Send({"GET", "/", "\"><script>x</script>", "", "", ""}).body,
              {"webcal://127.0.0.1:8737/calendar.ics"});
}

}  // namespace
}  // namespace pelo::serve
