#include "store/EntryDates.h"

#include <QDateTime>
#include <QLocale>

namespace kl {

namespace {

// The time format without its seconds (and fractions), and without the separator that led up
// to them: "HH:mm:ss" gives "HH:mm", "h:mm:ss AP" gives "h:mm AP". Quoted text is kept.
QString WithoutSeconds(const QString& format) {
  QString result;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && (c == u's' || c == u'z')) {
      while (!result.isEmpty() && (result.back() == u':' || result.back() == u'.')) result.chop(1);
      continue;
    }
    result += c;
  }
  return result;
}

}  // namespace

std::string EntryDateLine(const QDateTime& when, const QLocale& locale) {
  return locale.toString(when, QStringLiteral("dddd, dd MMM yyyy hh:mm")).toStdString();
}

bool IsEntryDateLine(const std::string& line, const QLocale& locale) {
  const QString text = QString::fromStdString(line).trimmed();
  for (const QLocale& each : {locale, QLocale::c()}) {
    if (each.toDateTime(text, QStringLiteral("dddd, dd MMM yyyy hh:mm")).isValid()) return true;
  }
  return false;
}

std::string DefaultEntryTitle(const QDateTime& when, const QLocale& locale) {
  const QString time = WithoutSeconds(locale.timeFormat(QLocale::ShortFormat));
  return (locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
          locale.toString(when.time(), time))
      .toStdString();
}

}  // namespace kl
