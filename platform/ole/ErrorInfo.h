#pragma once
// The description of the last failure, as the platform's error-information object carries it:
// an object that fails a call says why in words, and whoever reports the failure shows them.

#include <QString>

namespace ole {

void setErrorInfo(const QString& description);
// The description set since the last take, which is then cleared; empty when none.
QString takeErrorInfo();

}  // namespace ole
