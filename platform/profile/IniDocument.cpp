#include "platform/profile/IniDocument.h"

#include <stdexcept>

#include "platform/profile/IniEncoding.h"
#include "platform/profile/IniValue.h"

namespace profile {
namespace {

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  QString name;  // the section's or the key's name, trimmed
};

ParsedLine ParseLine(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return {LineKind::Blank, {}};
  if (trimmed.front() == u';') return {LineKind::Comment, {}};
  if (trimmed.front() == u'[') {
    const qsizetype close = trimmed.indexOf(u']');
    const qsizetype end = close < 0 ? trimmed.size() : close;
    return {LineKind::Section, trimmed.mid(1, end - 1).trimmed()};
  }
  const qsizetype equals = text.indexOf(u'=');
  if (equals < 0) return {LineKind::Other, {}};
  QString key = text.left(equals).trimmed();
  if (key.isEmpty()) return {LineKind::Other, {}};
  return {LineKind::Key, key};
}

QString Fold(const QString& name) {
  return name.toCaseFolded();
}

bool HasLineBreak(const QString& text) {
  return text.contains(u'\n') || text.contains(u'\r');
}

void CheckSectionName(const QString& section) {
  if (section.trimmed() != section || section.isEmpty() || section.contains(u']') ||
      HasLineBreak(section)) {
    throw std::invalid_argument("Invalid section name \"" + section.toStdString() + "\"");
  }
}

void CheckKeyName(const QString& key) {
  if (key.trimmed() != key || key.isEmpty() || key.contains(u'=') || key.front() == u';' ||
      key.front() == u'[' || HasLineBreak(key)) {
    throw std::invalid_argument("Invalid key name \"" + key.toStdString() + "\"");
  }
}

}  // namespace

IniDocument IniDocument::Parse(const QByteArray& bytes) {
  IniDocument document;
  for (const RawLine& line : SplitIniLines(bytes, &document.marks_)) {
    document.lines_.push_back(DecodeIniLine(line.text));
    document.original_.emplace_back(line.text + line.end);
  }
  document.Reindex();
  return document;
}

QByteArray IniDocument::Serialize() const {
  QByteArray bytes = marks_;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!original_[i]) {
      bytes += EncodeIniLine(lines_[i]);
      continue;
    }
    bytes += *original_[i];
    // A last line without a line end gets one when a line now follows it.
    const bool ended = original_[i]->endsWith('\n') || original_[i]->endsWith('\r');
    if (!ended && i + 1 < lines_.size()) bytes += "\r\n";
  }
  return bytes;
}

void IniDocument::Reindex() {
  sections_.clear();
  sectionByName_.clear();
  Section* current = nullptr;
  for (int i = 0; i < int(lines_.size()); ++i) {
    const ParsedLine parsed = ParseLine(lines_[i]);
    switch (parsed.kind) {
      case LineKind::Section: {
        sections_.push_back(Section{i, i, {}, {}});
        current = &sections_.back();
        const QString folded = Fold(parsed.name);
        if (!sectionByName_.contains(folded))
          sectionByName_.insert(folded, int(sections_.size()) - 1);
        break;
      }
      case LineKind::Key:
        if (current) {
          current->lastContentLine = i;
          const QString folded = Fold(parsed.name);
          if (!current->keyLine.contains(folded)) {
            current->keyLine.insert(folded, i);
            current->keyLines.push_back(i);
          }
        }
        break;
      case LineKind::Other:
        if (current) current->lastContentLine = i;
        break;
      case LineKind::Blank:
      case LineKind::Comment:
        break;
    }
  }
}

const IniDocument::Section* IniDocument::FindSection(const QString& name) const {
  const auto found = sectionByName_.constFind(Fold(name));
  return found == sectionByName_.constEnd() ? nullptr : &sections_[found.value()];
}

QString IniDocument::KeyOfLine(int line) const {
  const QString& text = lines_[line];
  return text.left(text.indexOf(u'=')).trimmed();
}

QString IniDocument::RawValueOfLine(int line) const {
  const QString& text = lines_[line];
  return text.mid(text.indexOf(u'=') + 1);
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  const auto line = found->keyLine.constFind(Fold(key.trimmed()));
  if (line == found->keyLine.constEnd()) return std::nullopt;
  return UnquoteValue(RawValueOfLine(line.value()));
}

QStringList IniDocument::AllKeyNames() const {
  QStringList names;
  for (const QString& line : lines_) {
    const ParsedLine parsed = ParseLine(line);
    if (parsed.kind == LineKind::Key) names.append(parsed.name);
  }
  return names;
}

QStringList IniDocument::KeyNames(const QString& section) const {
  QStringList names;
  if (const Section* found = FindSection(section)) {
    names.reserve(qsizetype(found->keyLines.size()));
    for (int line : found->keyLines) names.append(KeyOfLine(line));
  }
  return names;
}

std::vector<std::pair<QString, QString>> IniDocument::Entries(const QString& section) const {
  std::vector<std::pair<QString, QString>> entries;
  if (const Section* found = FindSection(section)) {
    entries.reserve(found->keyLines.size());
    for (int line : found->keyLines) {
      entries.emplace_back(KeyOfLine(line), UnquoteValue(RawValueOfLine(line)));
    }
  }
  return entries;
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
  CheckSectionName(section);
  CheckKeyName(key);
  const QString quoted = QuoteValue(value);
  const Section* found = FindSection(section);
  if (found) {
    const auto line = found->keyLine.constFind(Fold(key));
    if (line != found->keyLine.constEnd()) {
      // Same line count, same key: the index stays valid.
      lines_[line.value()] = KeyOfLine(line.value()) + u'=' + quoted;
      original_[line.value()].reset();
      return;
    }
    lines_.insert(lines_.begin() + found->lastContentLine + 1, key + u'=' + quoted);
    original_.insert(original_.begin() + found->lastContentLine + 1, std::nullopt);
  } else {
    lines_.push_back(u'[' + section + u']');
    lines_.push_back(key + u'=' + quoted);
    original_.resize(lines_.size());
  }
  Reindex();
}

}  // namespace profile
