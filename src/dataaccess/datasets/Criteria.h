#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mts {

class TVNSQLQuery;

// One optional condition of a query template. Enabled criteria are spliced into
// the WHERE clause of the executed SQL; Criterion is an SQL condition and may use
// "[Name]" placeholders like the template.
class TCriterionItem {
 public:
  TCriterionItem() = default;
  TCriterionItem(std::string name, std::string criterion, bool enabled = true);

  const std::string& Name() const { return name_; }
  // Stored without the spaces and control characters at either end.
  void setName(std::string_view name);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  const std::string& Criterion() const { return criterion_; }
  void setCriterion(std::string criterion) { criterion_ = std::move(criterion); }

  // Name, or "Item <index>" when the name is empty.
  std::string DisplayName(std::size_t index) const;

 private:
  std::string name_;
  bool enabled_ = true;
  std::string criterion_;
};

// The criteria of one query, in order. Ownership and copying as TStringParams:
// assigning copies the items and keeps the owner.
class TCriteria {
 public:
  explicit TCriteria(TVNSQLQuery* owner = nullptr) : owner_(owner) {}
  TCriteria(const TCriteria& other) : items_(other.items_) {}
  TCriteria& operator=(const TCriteria& other) {
    items_ = other.items_;
    return *this;
  }

  TVNSQLQuery* Owner() const { return owner_; }

  TCriterionItem& add(std::string name = {}, std::string criterion = {}, bool enabled = true);
  void remove(std::size_t index) { items_.erase(items_.begin() + static_cast<long>(index)); }
  void clear() { items_.clear(); }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  TCriterionItem& operator[](std::size_t index) { return items_.at(index); }
  const TCriterionItem& operator[](std::size_t index) const { return items_.at(index); }
  std::vector<TCriterionItem>::iterator begin() { return items_.begin(); }
  std::vector<TCriterionItem>::iterator end() { return items_.end(); }
  std::vector<TCriterionItem>::const_iterator begin() const { return items_.begin(); }
  std::vector<TCriterionItem>::const_iterator end() const { return items_.end(); }

  std::string DisplayName(std::size_t index) const { return items_.at(index).DisplayName(index); }

 private:
  TVNSQLQuery* owner_ = nullptr;
  std::vector<TCriterionItem> items_;
};

}  // namespace mts
