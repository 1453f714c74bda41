#include "platform/ole/TaskMemory.h"

#include <cstdlib>
#include <cstring>

namespace ole {

void* CoTaskMemAlloc(std::size_t size) {
  return std::malloc(size == 0 ? 1 : size);
}

void CoTaskMemFree(void* p) {
  std::free(p);
}

char16_t* taskStringCopy(const QString& text) {
  const std::size_t units = std::size_t(text.size()) + 1;
  auto* copy = static_cast<char16_t*>(CoTaskMemAlloc(units * sizeof(char16_t)));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.utf16(), units * sizeof(char16_t));
  return copy;
}

char* taskAnsiCopy(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  auto* copy = static_cast<char*>(CoTaskMemAlloc(std::size_t(bytes.size()) + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, bytes.constData(), std::size_t(bytes.size()) + 1);
  return copy;
}

QString takeTaskString(char16_t* text) {
  if (text == nullptr) return {};
  const QString result = QString::fromUtf16(text);
  CoTaskMemFree(text);
  return result;
}

}  // namespace ole
