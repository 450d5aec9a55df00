#pragma once

#include <string>
#include <string_view>

#include "server/status/StatusSnapshot.h"

namespace mts {

// Text helpers shared by the status renderers. The server's texts are
// Windows-1252; everything served over HTTP is UTF-8 (routines/Windows1252Unicode.h).

// A JSON string literal, quotes included, of a Windows-1252 text.
std::string JsonString(std::string_view windows1252);

// The text for HTML element content or a quoted attribute value, still in
// Windows-1252: the page is converted to UTF-8 as a whole.
std::string HtmlText(std::string_view windows1252);

// A value for a Prometheus label: backslash, double quote and line end escaped.
std::string MetricLabelValue(std::string_view windows1252);

// "2026-12-10T15:04:05-03:00": local time with its UTC offset.
std::string IsoLocalTime(StatusTime moment);
// How long ago the moment was, to the minute past the first minute and
// without seconds past the first hour: "42 s", "5 min", "2 h 05 min",
// "3 d 4 h". A moment after `now` reads as "0 s".
std::string TimeSince(StatusTime moment, StatusTime now);
// "15:04:05" on the moment's day, "10/12 15:04" on an earlier day of `now`.
std::string ShortLocalTime(StatusTime moment, StatusTime now);

}  // namespace mts
