#include "dataaccess/datasets/Criteria.h"

#include "routines/Windows1252Text.h"

#include "dataaccess/datasets/DatasetText.h"

namespace mts {

TCriterionItem::TCriterionItem(std::string name, std::string criterion, bool enabled)
    : enabled_(enabled), criterion_(std::move(criterion)) {
  setName(name);
}

void TCriterionItem::setName(std::string_view name) {
  name_ = text::TrimBlanksAndControls(name);
}

std::string TCriterionItem::DisplayName(std::size_t index) const {
  if (!name_.empty()) return name_;
  return "Item " + std::to_string(index);
}

TCriterionItem& TCriteria::add(std::string name, std::string criterion, bool enabled) {
  return items_.emplace_back(std::move(name), std::move(criterion), enabled);
}

}  // namespace mts
