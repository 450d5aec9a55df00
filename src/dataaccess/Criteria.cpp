#include "dataaccess/Criteria.h"

#include "dataaccess/DatasetText.h"

namespace mts {

TCriterionItem::TCriterionItem(std::string name, std::string criterion, bool enabled)
    : enabled_(enabled), criterion_(std::move(criterion)) {
  setName(name);
}

void TCriterionItem::setName(std::string_view name) {
  name_ = dataset_text::trimmed(name);
}

std::string TCriterionItem::DisplayName(std::size_t index) const {
  if (!name_.empty()) return name_;
  return "Item " + std::to_string(index);
}

TCriterionItem& TCriteria::add(std::string name, std::string criterion, bool enabled) {
  return items_.emplace_back(std::move(name), std::move(criterion), enabled);
}

}  // namespace mts
