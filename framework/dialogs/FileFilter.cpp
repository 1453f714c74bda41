#include "framework/dialogs/FileFilter.h"

namespace kl {

QStringList ToQtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // The platform separates several patterns with ";", Qt with blanks.
    const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ').trimmed();
    if (patterns.isEmpty()) continue;
    const QString suffix = u'(' + patterns + u')';
    // A description showing the patterns the platform's way, "(*.jpg;*.png)", shows them Qt's.
    const QString platformSuffix = u'(' + parts[i + 1].trimmed() + u')';
    if (platformSuffix != suffix && description.endsWith(platformSuffix))
      description = description.chopped(platformSuffix.size()) + suffix;
    // Qt reads the patterns from the last parentheses, so a description that already ends with
    // its own patterns stays as it is; any other gets them added.
    filters.append(description.endsWith(suffix) ? description
                   : description.isEmpty()      ? suffix
                                                : description + u' ' + suffix);
  }
  return filters;
}

}  // namespace kl
