#include "dataaccess/datasets/StringParams.h"

#include <algorithm>

namespace mts {

std::string TStringParam::DisplayName(std::size_t index) const {
  if (!name_.empty()) return name_;
  return "Item " + std::to_string(index);
}

TStringParam& TStringParams::add(std::string name, std::string value) {
  return items_.emplace_back(std::move(name), std::move(value));
}

TStringParam* TStringParams::find(std::string_view name) {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [name](const TStringParam& item) { return item.Name() == name; });
  return it == items_.end() ? nullptr : &*it;
}

const TStringParam* TStringParams::find(std::string_view name) const {
  return const_cast<TStringParams*>(this)->find(name);
}

}  // namespace mts
