#include "ServeRequests.h"

#include <optional>

#include "ServeContents.h"
#include "ServePages.h"
#include "ServeSites.h"
#include "ServeTargets.h"
#include "ServeTokens.h"
#include "text/Texts.h"

namespace pelo::serve {

namespace {

constexpr std::string_view kTextPlain = "text/plain; charset=utf-8";
constexpr std::string_view kTextHtml = "text/html; charset=utf-8";
constexpr std::string_view kTextCalendar = "text/calendar; charset=utf-8";

TServeResponse Refusal(int status, std::string_view reason) {
  TServeResponse response;
  response.status = status;
  response.headers = {{"Content-Type", std::string(kTextPlain)}};
  response.body = Concat({reason, "\n"});
  return response;
}

// Headers every answer carries: nothing runs on the page, nothing is guessed, and the token a
// link may hold goes to no other site.
void AddCommonHeaders(TServeResponse& response) {
  response.headers.emplace_back("X-Content-Type-Options", "nosniff");
  response.headers.emplace_back("Content-Security-Policy",
                                "default-src 'none'; style-src 'unsafe-inline'");
  response.headers.emplace_back("Referrer-Policy", "no-referrer");
}

// A host header fit to be written into the page: name or address and port only.
std::string FeedHost(const std::string& host, const TSiteSettings& settings) {
  const bool usable = !host.empty() && host.size() <= 255 &&
                      host.find_first_not_of(
                          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                          "0123456789.-:[]") == std::string::npos;
  return usable ? host : settings.fallback_host;
}

struct TSpan {
  TDateRec from;
  TDateRec to;
};

TDateRec Clamped(TDateRec date) noexcept {
  if (DayNumber(date) < kFirstCalendarDay) return kFirstCalendarDate;
  if (DayNumber(date) > kLastCalendarDay) return kLastCalendarDate;
  return date;
}

// The span of the feed: one month back to twelve on, or from= and to=; the reason it is not.
std::optional<std::string> ReadSpan(const TTarget& target, TDateRec today, TSpan& span) {
  span.from = Clamped(AddToDate(today, {0, -1, 0}));
  if (const std::string* from = FindParam(target, "from")) {
    if (!ParseIsoDate(*from, span.from)) {
      return "from の日付が正しくありません (YYYY-MM-DD、1582-11-01〜2150-12-31)。";
    }
  }
  span.to = Clamped(AddToDate(span.from, {0, 13, 0}));
  if (const std::string* to = FindParam(target, "to")) {
    if (!ParseIsoDate(*to, span.to)) {
      return "to の日付が正しくありません (YYYY-MM-DD、1582-11-01〜2150-12-31)。";
    }
  }
  if (DayNumber(span.to) < DayNumber(span.from)) return "to が from より前です。";
  if (DayNumber(span.to) >= DayNumber(AddToDate(span.from, {kMaxSpanYears, 0, 0}))) {
    return "期間は4年までにしてください。";
  }
  return std::nullopt;
}

// The answer named key, made by make unless the client holds it already.
TServeResponse Made(const TServeRequest& request, TServeSite& site, TDateRec today,
                    const std::string& key, std::string_view content_type,
                    const TServeSite::TMaker& make) {
  const TMadeAnswer answer =
      site.Answer(key, today, {request.if_none_match, request.if_modified_since}, make);
  TServeResponse response;
  response.status = answer.not_modified ? 304 : 200;
  response.headers = {{"ETag", answer.etag},
                      {"Last-Modified", HttpDate(answer.last_modified)},
                      {"Cache-Control", "no-cache"}};
  if (!answer.not_modified) {
    response.headers.emplace_back("Content-Type", std::string(content_type));
    response.body = *answer.body;
  }
  return response;
}

TPageFrame Frame(const TServeRequest& request, const TTarget& target, TServeSite& site,
                 TServeFiles& files) {
  TPageFrame frame;
  const TSiteSettings& settings = site.Settings();
  frame.FeedUrl = Concat({"webcal://", FeedHost(request.host, settings), "/calendar.ics"});
  // A browser cannot send the header: the token it came with goes on in the links.
  if (const std::string* token = FindParam(target, "token"); token && !settings.token.empty()) {
    frame.LinkQuery = Concat({"?token=", *token});
    frame.FeedUrl += frame.LinkQuery;
  }
  frame.Problems = files.Problems();
  return frame;
}

// The token parameter, for calendar clients that cannot send a header, else the header's.
std::string_view GivenToken(const TServeRequest& request, const TTarget& target) {
  if (const std::string* token = FindParam(target, "token")) return *token;
  return BearerToken(request.authorization);
}

TServeResponse Route(const TServeRequest& request, const TTarget& target, TServeSite& site) {
  const TDateRec today = site.Today();
  const TShownSettings& shown = site.Settings().shown;
  if (target.path == "/calendar.ics") {
    TSpan span;
    if (const auto reason = ReadSpan(target, today, span)) return Refusal(400, *reason);
    return Made(request, site, today, Concat({"feed|", IsoDate(span.from), "|", IsoDate(span.to)}),
                kTextCalendar, [&](TServeFiles& files) {
                  return FeedBody(files.List(), files.Filter(), shown, span.from, span.to, today);
                });
  }
  // The pages name the host and the token in their links: both go into the key.
  const std::string page_key = Concat({request.host, "|", FindParam(target, "token") ? "t" : ""});
  if (target.path == "/") {
    int32_t year = today.Year;
    int32_t month = today.Month;
    if (const std::string* text = FindParam(target, "month");
        text && !ParseIsoMonth(*text, year, month)) {
      return Refusal(400, "month が正しくありません (YYYY-MM、1582-11〜2150-12)。");
    }
    const TDateRec first = Clamped({year, month, 1});
    const TDateRec last = Clamped({year, month, DaysInMonth(year, month)});
    return Made(request, site, today, Concat({"month|", IsoMonth(year, month), "|", page_key}),
                kTextHtml, [&](TServeFiles& files) {
                  return MonthPageHtml(
                      year, month,
                      PageDays(files.List(), files.Filter(), shown, first, last, today, false),
                      Frame(request, target, site, files));
                });
  }
  constexpr std::string_view kDayPrefix = "/day/";
  if (target.path.rfind(kDayPrefix, 0) == 0) {
    TDateRec date;
    if (!ParseIsoDate(std::string_view(target.path).substr(kDayPrefix.size()), date)) {
      return Refusal(400, "日付が正しくありません (/day/YYYY-MM-DD、1582-11-01〜2150-12-31)。");
    }
    return Made(
        request, site, today, Concat({"day|", IsoDate(date), "|", page_key}), kTextHtml,
        [&](TServeFiles& files) {
          return DayPageHtml(
              PageDays(files.List(), files.Filter(), shown, date, date, today, true).front(),
              Frame(request, target, site, files));
        });
  }
  return Refusal(404, "このページはありません。");
}

}  // namespace

std::string TServeResponse::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key == name) return value;
  }
  return {};
}

TServeResponse Respond(const TServeRequest& request, TServeSite& site) {
  TServeResponse response;
  TTarget target;
  if (request.method != "GET" && request.method != "HEAD") {
    response = Refusal(405, "GET と HEAD のほかは受け付けません。");
    response.headers.emplace_back("Allow", "GET, HEAD");
  } else if (request.target.size() > kMaxTargetLength) {
    response = Refusal(414, "URL が長すぎます。");
  } else if (!ParseTarget(request.target, target)) {
    response = Refusal(400, "URL が正しくありません。");
  } else if (const std::string& token = site.Settings().token;
             !token.empty() && !TokensEqual(GivenToken(request, target), token)) {
    response = Refusal(401, "トークンがないか、正しくありません。");
    response.headers.emplace_back("WWW-Authenticate", "Bearer realm=\"pelo\"");
  } else {
    response = Route(request, target, site);
  }
  AddCommonHeaders(response);
  return response;
}

}  // namespace pelo::serve
