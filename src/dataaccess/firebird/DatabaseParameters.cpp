#include "dataaccess/firebird/DatabaseParameters.h"

#include "dataaccess/firebird/FirebirdApi.h"

namespace mts::db {
namespace {

constexpr int kPageSize = 8192;
constexpr const char* kDatabaseCharset = "WIN1252";

std::vector<unsigned char> build(const ConnectionSettings& settings, bool create) {
  fb::Status status;
  Firebird::IXpbBuilder* dpb =
      fb::util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0);
  try {
    if (!settings.user.empty())
      dpb->insertString(&status, isc_dpb_user_name, settings.user.c_str());
    if (!settings.password.empty()) {
      dpb->insertString(&status, isc_dpb_password, settings.password.c_str());
    }
    if (!settings.charset.empty()) {
      dpb->insertString(&status, isc_dpb_lc_ctype, settings.charset.c_str());
    }
    dpb->insertInt(&status, isc_dpb_sql_dialect, settings.dialect);
    if (settings.connectTimeoutSeconds > 0 && isRemoteDatabase(settings.database)) {
      // The library gives up only while the server has not yet answered the
      // connect packet, and then reports it as a rejection. A second later
      // than our own bound, so that a rejection seen earlier is a real one,
      // while a thread left waiting for a silent server still ends by itself.
      dpb->insertInt(&status, isc_dpb_connect_timeout, settings.connectTimeoutSeconds + 1);
    }
    if (create) {
      dpb->insertInt(&status, isc_dpb_page_size, kPageSize);
      dpb->insertString(&status, isc_dpb_set_db_charset, kDatabaseCharset);
    }
    const unsigned char* bytes = dpb->getBuffer(&status);
    std::vector<unsigned char> block(bytes, bytes + dpb->getBufferLength(&status));
    dpb->dispose();
    return block;
  } catch (...) {
    dpb->dispose();
    throw;
  }
}

}  // namespace

bool isRemoteDatabase(std::string_view database) {
  if (database.empty() || database.front() == '/') return false;
  return database.find(':') != std::string_view::npos;
}

std::vector<unsigned char> attachParameters(const ConnectionSettings& settings) {
  return build(settings, false);
}

std::vector<unsigned char> createParameters(const ConnectionSettings& settings) {
  return build(settings, true);
}

}  // namespace mts::db
