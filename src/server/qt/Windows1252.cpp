#include "server/qt/Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace mts {

QString FromWindows1252(std::string_view bytes) {
  QStringDecoder decoder("windows-1252");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToWindows1252(const QString& text) {
  QStringEncoder encoder("windows-1252");
  QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  QByteArray utf8 = FromWindows1252(bytes).toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace mts
