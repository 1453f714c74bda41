#include "framework/StringList.h"

#include "framework/Exception.h"

namespace kl {

void TStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit)
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count() - 1);
  return items_[std::size_t(index)];
}

void TStringList::Put(int index, const std::string& s) {
  CheckIndex(index, Count() - 1);
  items_[std::size_t(index)] = s;
}

void TStringList::Insert(int index, const std::string& s) {
  CheckIndex(index, Count());
  items_.insert(items_.begin() + index, s);
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count() - 1);
  items_.erase(items_.begin() + index);
}

}  // namespace kl
