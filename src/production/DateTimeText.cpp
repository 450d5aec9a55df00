#include "production/DateTimeText.h"

#include <cstdio>

namespace mts {

std::string formatDateTime(const db::Timestamp& moment) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", moment.day, moment.month,
                moment.year, moment.hour, moment.minute, moment.second);
  return text;
}

bool isAfterYear2000Start(const db::Timestamp& moment) {
  return moment > db::Timestamp{2000, 1, 1, 0, 0, 0, 0};
}

}  // namespace mts
