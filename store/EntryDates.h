#pragma once
// The two dates the entry commands write: the first line of a new entry and the title of an
// entry saved without one, both in the user's language.

#include <string>

class QDateTime;
class QLocale;

namespace kl {

// "dddd, dd MMM yyyy hh:nn": Tuesday, 08 Dec 2026 22:15.
std::string EntryDateLine(const QDateTime& when, const QLocale& locale);

// The locale's short date, a blank and its short time to the minute (12/8/26 10:15 PM). Some
// locales' short time carries seconds; a title keeps hours and minutes only.
std::string DefaultEntryTitle(const QDateTime& when, const QLocale& locale);

// Whether a line is a date line as EntryDateLine writes it, in the locale or in English.
bool IsEntryDateLine(const std::string& line, const QLocale& locale);

}  // namespace kl
