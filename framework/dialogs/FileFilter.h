#pragma once
// The file dialogs' filters: the program writes them as pairs of description and pattern
// separated by "|" ("Kennel Logbook (*.klb)|*.klb|All Files (*.*)|*.*"); Qt wants one name
// filter per pair, with the patterns in parentheses at its end.

#include <QString>
#include <QStringList>
#include <string>

namespace kl {

QStringList ToQtNameFilters(const std::string& filter);

}  // namespace kl
