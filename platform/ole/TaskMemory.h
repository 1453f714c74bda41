#pragma once
// Memory handed between caller and callee, freed by the one that receives it.

#include <QString>
#include <cstddef>

namespace ole {

void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* p);

// A zero-terminated UTF-16 copy in task memory, or none when memory runs out.
char16_t* taskStringCopy(const QString& text);
// A zero-terminated 8-bit (UTF-8) copy in task memory, or none when memory runs out.
char* taskAnsiCopy(const QString& text);
// The text of a task string, which is then freed; an absent string is empty.
QString takeTaskString(char16_t* text);

}  // namespace ole
