#pragma once
// A profile file held as its lines, with an index of its sections and keys. Every line the
// program does not write is kept byte for byte, line end included (an index written on the
// original platform keeps its Windows-1252 paths, so they still name their files); the lines it
// writes are UTF-8 with CR LF. Section and key names compare without letter case; the first
// section of a name, and the first key of a name in it, are the ones that count, as the
// platform's profile routines read them.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace profile {

class IniDocument {
 public:
  static IniDocument Parse(const QByteArray& bytes);
  QByteArray Serialize() const;

  // The value (unquoted, full length), or nothing when the key is not there.
  std::optional<QString> Value(const QString& section, const QString& key) const;
  // The section's key names in file order, each name once, as the file spells it.
  QStringList KeyNames(const QString& section) const;
  // The section's keys with their values, in file order.
  std::vector<std::pair<QString, QString>> Entries(const QString& section) const;
  // Every key name of the file, in every section (a repeated section's too) and before the
  // first one, in file order, as often as it stands there.
  QStringList AllKeyNames() const;

  // Replaces an existing key's value where it stands, or appends the key at the end of its
  // section, or appends the section at the end of the file. Throws std::invalid_argument for a
  // section or key name that cannot stand in a profile line.
  void SetValue(const QString& section, const QString& key, const QString& value);

  const std::vector<QString>& Lines() const { return lines_; }

 private:
  struct Section {
    int headerLine = 0;
    int lastContentLine = 0;      // where the next new key goes after
    QHash<QString, int> keyLine;  // case-folded name -> line of its first occurrence
    std::vector<int> keyLines;    // the first occurrence of each name, in file order
  };

  void Reindex();
  const Section* FindSection(const QString& name) const;
  QString KeyOfLine(int line) const;
  QString RawValueOfLine(int line) const;

  std::vector<QString> lines_;
  // Each line's bytes and line end as read; nothing for a line the program wrote.
  std::vector<std::optional<QByteArray>> original_;
  QByteArray marks_;  // byte-order marks before the first line
  std::vector<Section> sections_;
  QHash<QString, int> sectionByName_;  // case-folded name -> first section of that name
};

}  // namespace profile
