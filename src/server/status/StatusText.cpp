#include "server/status/StatusText.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "routines/Windows1252Unicode.h"
#include "server/status/ShopFloorStatus.h"

namespace mts {
namespace {

std::tm LocalParts(StatusTime moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

// The escapes are plain ASCII, so the escaped text converts to UTF-8 as a whole.
std::string JsonString(std::string_view windows1252) {
  std::string out;
  for (char byte : windows1252) {
    const auto code = static_cast<unsigned char>(byte);
    switch (code) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (code < 0x20 || code == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
          out += escaped;
        } else {
          out += byte;
        }
    }
  }
  return "\"" + text::Utf8FromWindows1252(out) + "\"";
}

std::string HtmlText(std::string_view windows1252) {
  std::string out;
  for (char byte : windows1252) {
    switch (byte) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += byte;
    }
  }
  return out;
}

std::string MetricLabelValue(std::string_view windows1252) {
  std::string out;
  for (char byte : windows1252) {
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte == '"') {
      out += "\\\"";
    } else if (byte == '\n') {
      out += "\\n";
    } else {
      out += byte;
    }
  }
  return text::Utf8FromWindows1252(out);
}

std::string IsoLocalTime(StatusTime moment) {
  const std::tm local = LocalParts(moment);
  const int offsetMinutes = static_cast<int>(local.tm_gmtoff / 60);
  const int offset = (offsetMinutes < 0 ? -offsetMinutes : offsetMinutes) % (24 * 60);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text;
}

std::string TimeSince(StatusTime moment, StatusTime now) {
  using std::chrono::duration_cast;
  const auto seconds =
      std::max<long long>(0, duration_cast<std::chrono::seconds>(now - moment).count());
  const long long minutes = seconds / 60;
  const long long hours = minutes / 60;
  const long long days = hours / 24;
  if (seconds < 60) return std::to_string(seconds) + " s";
  if (minutes < 60) return std::to_string(minutes) + " min";
  if (hours < 24) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld h %02lld min", hours, minutes % 60);
    return text;
  }
  return std::to_string(days) + " d " + std::to_string(hours % 24) + " h";
}

std::string ShortLocalTime(StatusTime moment, StatusTime now) {
  const std::tm local = LocalParts(moment);
  char text[64];
  if (moment >= StartOfLocalDay(now)) {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  } else {
    std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d", local.tm_mday, local.tm_mon + 1,
                  local.tm_hour, local.tm_min);
  }
  return text;
}

}  // namespace mts
