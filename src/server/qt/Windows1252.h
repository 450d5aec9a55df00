#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace mts {

// Conversions between the server's Windows-1252 texts and Qt's strings. Every
// byte 00 to FF maps to a character and back (80 is the euro sign).
QString FromWindows1252(std::string_view bytes);
std::string ToWindows1252(const QString& text);
// The text as UTF-8 bytes, for the console.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace mts
