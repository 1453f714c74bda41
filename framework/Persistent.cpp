#include "framework/Persistent.h"

#include "framework/Exception.h"

namespace kl {

void TPersistent::Assign(const TPersistent& source) {
  source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  const std::string sourceName = source ? source->ClassName() : "nil";
  throw Exception("Cannot assign a " + sourceName + " to a " + ClassName());
}

}  // namespace kl
