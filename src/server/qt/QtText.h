#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "routines/Windows1252Unicode.h"

namespace mts {

// Qt's strings hold Unicode; the server's texts are Windows-1252 bytes.
inline QString QStringFromWindows1252(std::string_view bytes) {
  return QString::fromStdString(text::Utf8FromWindows1252(bytes));
}

// A message from Qt (an error string) as a server text; a character
// Windows-1252 lacks becomes '?'.
inline std::string Windows1252FromQString(const QString& text) {
  return text::Windows1252FromUtf8Or(text.toStdString(), '?');
}

}  // namespace mts
