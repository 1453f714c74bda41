#pragma once
// The base of objects that copy their state from one another with Assign and AssignTo. A class
// handles the sources it knows in Assign and the destinations it knows in AssignTo; anything
// else ends in an assignment error naming both classes.

#include <string>

#include "framework/Object.h"

namespace kl {

class TPersistent : public TObject {
 public:
  // Copies source into this object; the default hands the work to source.AssignTo(*this).
  virtual void Assign(const TPersistent& source);
  // Copies this object into dest; the default raises "Cannot assign a X to a Y".
  virtual void AssignTo(TPersistent& dest) const;
  virtual const char* ClassName() const { return "TPersistent"; }

 protected:
  // Raises the assignment error for copying source (of any class) into this object.
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace kl
