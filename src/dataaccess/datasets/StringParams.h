#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mts {

class TVNSQLQuery;

// One named text placeholder of a query template: "[Name]" in the template is
// replaced by Value when the executed SQL is built. Names are case-sensitive.
class TStringParam {
 public:
  TStringParam() = default;
  TStringParam(std::string name, std::string value)
      : name_(std::move(name)), value_(std::move(value)) {}

  const std::string& Name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  const std::string& Value() const { return value_; }
  void setValue(std::string value) { value_ = std::move(value); }

  // Name, or "Item <index>" when the name is empty; `index` is the item's
  // position (from 0) in its collection.
  std::string DisplayName(std::size_t index) const;

 private:
  std::string name_;
  std::string value_;
};

// The placeholders of one query, in the order they were found. A collection that
// belongs to a query reports it as Owner(); copies belong to nobody, and
// assigning one collection to another copies the items but keeps the owner.
class TStringParams {
 public:
  explicit TStringParams(TVNSQLQuery* owner = nullptr) : owner_(owner) {}
  TStringParams(const TStringParams& other) : items_(other.items_) {}
  TStringParams& operator=(const TStringParams& other) {
    items_ = other.items_;
    return *this;
  }

  TVNSQLQuery* Owner() const { return owner_; }

  TStringParam& add(std::string name = {}, std::string value = {});
  void remove(std::size_t index) { items_.erase(items_.begin() + static_cast<long>(index)); }
  void clear() { items_.clear(); }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  TStringParam& operator[](std::size_t index) { return items_.at(index); }
  const TStringParam& operator[](std::size_t index) const { return items_.at(index); }
  std::vector<TStringParam>::iterator begin() { return items_.begin(); }
  std::vector<TStringParam>::iterator end() { return items_.end(); }
  std::vector<TStringParam>::const_iterator begin() const { return items_.begin(); }
  std::vector<TStringParam>::const_iterator end() const { return items_.end(); }

  // The first item with exactly this name (case-sensitive), or nullptr.
  TStringParam* find(std::string_view name);
  const TStringParam* find(std::string_view name) const;

  std::string DisplayName(std::size_t index) const { return items_.at(index).DisplayName(index); }

 private:
  TVNSQLQuery* owner_ = nullptr;
  std::vector<TStringParam> items_;
};

}  // namespace mts
