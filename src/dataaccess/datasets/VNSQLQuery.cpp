#include "dataaccess/datasets/VNSQLQuery.h"

#include "routines/Windows1252Text.h"

#include "dataaccess/datasets/DatasetError.h"
#include "dataaccess/datasets/DatasetText.h"
#include "dataaccess/firebird/Connection.h"

namespace mts {

namespace {

// Written around the word by a template author to choose where criteria go.
constexpr std::string_view kWhereMarker = "\xB4WHERE\xB4";
constexpr std::string_view kCriterionIndent = "       ";

// Adds to `params` the names between "[" and the next "]" in `text`.
void collectPlaceholders(std::string_view text, TStringParams& params) {
  std::size_t open = text.find('[');
  while (open != std::string_view::npos) {
    std::size_t close = text.find(']', open + 1);
    if (close == std::string_view::npos) return;
    std::string_view name = text.substr(open + 1, close - open - 1);
    if (params.find(name) == nullptr) params.add(std::string(name));
    open = text.find('[', close + 1);
  }
}

}  // namespace

TVNSQLQuery::TVNSQLQuery() = default;
TVNSQLQuery::~TVNSQLQuery() = default;

void TVNSQLQuery::setSQL(std::vector<std::string> lines) {
  stringParams_.clear();
  if (dataset_text::joinLines(lines) != dataset_text::joinLines(sql_)) {
    close();
    sql_ = std::move(lines);
    executedSqlCurrent_ = false;
  }
  ExtrairStringParams();
}

void TVNSQLQuery::setCriteria(const TCriteria& criteria) {
  criteria_ = criteria;
  executedSqlCurrent_ = false;
}

std::string TVNSQLQuery::ExecutedSQLText() const {
  return dataset_text::joinLines(executedSql_);
}

void TVNSQLQuery::Loaded() {
  stringParams_.clear();
  ExtrairStringParams();
}

void TVNSQLQuery::ExtrairStringParams() {
  collectPlaceholders(dataset_text::joinLines(sql_), stringParams_);
  for (const auto& criterion : criteria_) collectPlaceholders(criterion.Criterion(), stringParams_);
}

TCriteria TVNSQLQuery::CopiarCriteriosAtivos() const {
  TCriteria active;
  for (const auto& criterion : criteria_) {
    if (criterion.Enabled()) active.add() = criterion;
  }
  return active;
}

int TVNSQLQuery::LinhaContendo(const std::vector<std::string>& lines, std::string_view keyword) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (text::FindIgnoringCase(lines[i], keyword) != std::string::npos) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string TVNSQLQuery::QuebrarAntes(std::string_view text, std::string_view keyword) {
  std::size_t at = text.find(keyword);
  bool startsLine =
      at == 0 || (at != std::string_view::npos && (text[at - 1] == '\n' || text[at - 1] == '\r'));
  if (at == std::string_view::npos || startsLine) return std::string(text);
  std::string result(text.substr(0, at));
  result += "\r\n";
  result += text.substr(at);
  return result;
}

std::string TVNSQLQuery::substituteStringParams(std::string_view text) const {
  std::string result(text);
  for (const auto& param : stringParams_) {
    result = dataset_text::replaceAll(result, "[" + param.Name() + "]", param.Value());
  }
  return result;
}

void TVNSQLQuery::ExpandirSQL() {
  using dataset_text::joinLines;
  using dataset_text::splitLines;

  ExtrairStringParams();
  const TCriteria enabled = CopiarCriteriosAtivos();
  std::string text = substituteStringParams(joinLines(sql_));

  if (!enabled.empty()) {
    text = QuebrarAntes(text, "GROUP BY");
    text = QuebrarAntes(text, "ORDER BY");
    std::vector<std::string> lines;
    std::size_t insertAt = 0;
    if (text.find(kWhereMarker) != std::string::npos) {
      text = QuebrarAntes(text, kWhereMarker);
      lines = splitLines(text);
      insertAt = static_cast<std::size_t>(LinhaContendo(lines, kWhereMarker) + 1);
      for (auto& line : lines)
        line = dataset_text::replaceAllIgnoringCase(line, kWhereMarker, "WHERE");
    } else if (text.find("WHERE") != std::string::npos) {
      lines = splitLines(text);
      insertAt = static_cast<std::size_t>(LinhaContendo(lines, "WHERE") + 1);
    } else {
      lines = splitLines(text);
      int whereAt = LinhaContendo(lines, "GROUP BY");
      if (whereAt < 0) whereAt = LinhaContendo(lines, "ORDER BY");
      if (whereAt < 0) whereAt = static_cast<int>(lines.size());
      lines.insert(lines.begin() + whereAt, "WHERE");
      insertAt = static_cast<std::size_t>(whereAt) + 1;
    }
    for (std::size_t i = 0; i < enabled.size(); ++i) {
      std::string line = std::string(kCriterionIndent) + enabled[i].Criterion();
      if (i + 1 < enabled.size()) line += " AND ";
      lines.insert(lines.begin() + static_cast<long>(insertAt++), std::move(line));
    }
    text = substituteStringParams(joinLines(lines));
  }

  executedSql_ = splitLines(text);
  executedSqlCurrent_ = true;
}

void TVNSQLQuery::DoBeforeOpen() {
  if (criteria_.empty() || !executedSqlCurrent_) ExpandirSQL();
}

void TVNSQLQuery::open() {
  if (active_) return;
  if (connection_ == nullptr) {
    throw DatasetError("A consulta n\xE3o tem conex\xE3o com o banco de dados (SQLConnection).");
  }
  DoBeforeOpen();
  result_ = connection_->query(ExecutedSQLText(), params_);
  active_ = true;
}

void TVNSQLQuery::close() {
  active_ = false;
  result_ = db::ResultSet();
}

const db::ResultSet& TVNSQLQuery::result() const {
  if (!active_) throw DatasetError("A consulta est\xE1 fechada.");
  return result_;
}

}  // namespace mts
