#include "platform/ole/ErrorInfo.h"

namespace ole {

namespace {
thread_local QString lastError;
}

void setErrorInfo(const QString& description) {
  lastError = description;
}

QString takeErrorInfo() {
  return std::exchange(lastError, QString());
}

}  // namespace ole
