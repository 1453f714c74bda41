#pragma once
// A string list kept in memory.

#include <string>
#include <vector>

#include "framework/Strings.h"

namespace kl {

class TStringList : public TStrings {
 public:
  int Count() const override { return int(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override { items_.clear(); }
  const char* ClassName() const override { return "TStringList"; }

 private:
  void CheckIndex(int index, int limit) const;
  std::vector<std::string> items_;
};

}  // namespace kl
