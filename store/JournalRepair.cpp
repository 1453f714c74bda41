#include "store/JournalRepair.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"
#include "framework/Exception.h"
#include "platform/files/DurableFile.h"
#include "platform/files/FileError.h"
#include "platform/profile/IniDocument.h"
#include "store/EntryDates.h"
#include "store/GlobalUnit.h"
#include "store/IniFile.h"

namespace kl {
namespace {

constexpr int kTitleLimit = 255;

QString IndexPath() {
  return QString::fromStdString(AppFolder() + "journal.ini");
}

QByteArray ReadIndexBytes() {
  QFile file(IndexPath());
  if (!file.exists()) return {};
  if (!file.open(QIODevice::ReadOnly))
    throw Exception("Unable to read from " + IndexPath().toStdString());
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw Exception("Unable to read from " + IndexPath().toStdString());
  return bytes;
}

// The entry files, in the order of their names: the names are the times they were made.
QStringList EntryFileNames() {
  return QDir(QString::fromStdString(JournalFolder()))
      .entryList({QStringLiteral("*.klb")}, QDir::Files, QDir::Name);
}

QString NameOfPath(const QString& path) {
  return path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
}

// The titles the damaged index still holds, by the name of the entry's file.
QHash<QString, QString> ReadableTitles(QByteArray damaged) {
  damaged.replace('\0', "");
  const profile::IniDocument index = profile::IniDocument::Parse(damaged);
  QHash<QString, QString> titles;
  for (const auto& [key, path] : index.Entries(QStringLiteral("Entries"))) {
    const std::optional<QString> title = index.Value(QStringLiteral("Journal"), key);
    if (title && !title->trimmed().isEmpty()) titles.insert(NameOfPath(path), *title);
  }
  return titles;
}

std::string TextOfEntry(const std::string& path) {
  try {
    TKlRichEdit reader;
    reader.Lines().LoadFromFile(path);
    return reader.TextRange(0, -1);
  } catch (const std::exception&) {
    return {};  // an unreadable entry still gets a title, from its file name
  }
}

std::string Timestamp() {
  return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toStdString();
}

}  // namespace

bool IsJournalIndexDamaged() {
  const QByteArray bytes = ReadIndexBytes();
  if (!QFileInfo::exists(IndexPath())) return false;
  if (bytes.contains('\0')) return true;
  TIniFile* index = JournalIni();
  if (!index) throw Exception("The journal index is not open");
  return index->ReadSection("Entries").empty() && !EntryFileNames().isEmpty();
}

std::string KeepDamagedIndexCopy() {
  const QByteArray bytes = ReadIndexBytes();
  const std::string name = "journal.ini.damaged-" + Timestamp();
  std::string failure;
  for (const std::string& folder : {AppFolder(), JournalSideFolder()}) {
    const std::string copy = folder + name;
    if (QFileInfo::exists(QString::fromStdString(copy))) return copy;  // this second's copy
    try {
      files::WriteFileDurably(copy, std::string_view(bytes.constData(), std::size_t(bytes.size())));
      return copy;
    } catch (const files::FileError& error) {
      failure = error.what();
    }
  }
  throw Exception(failure);
}

void RebuildJournalIndex() {
  TIniFile* index = JournalIni();
  if (!index) throw Exception("The journal index is not open");
  const QHash<QString, QString> titles = ReadableTitles(ReadIndexBytes());
  const QStringList names = EntryFileNames();
  std::vector<TIniWrite> journal;
  std::vector<TIniWrite> entries;
  int number = 0;
  for (const QString& name : names) {
    const std::string key = std::to_string(++number);
    const std::string path =
        QDir(QString::fromStdString(JournalFolder())).filePath(name).toStdString();
    const auto known = titles.constFind(name);
    const std::string title =
        known != titles.constEnd()
            ? known->toStdString()
            : TitleOfEntryText(TextOfEntry(path), name.toStdString(), QLocale::system());
    journal.push_back({"Journal", key, title});
    entries.push_back({"Entries", key, path});
  }
  journal.push_back({"Journal", "Count", std::to_string(number)});
  journal.insert(journal.end(), entries.begin(), entries.end());
  index->StartAfresh();
  index->WriteStrings(journal);
}

void SetJournalIndexAside() {
  if (TIniFile* index = JournalIni()) index->StartAfresh();
}

std::string TitleOfEntryText(const std::string& text, const std::string& fileName,
                             const QLocale& locale) {
  const QStringList lines = QString::fromStdString(text).split(QRegularExpression("[\r\n]"));
  qsizetype first = 0;
  if (!lines.isEmpty() && IsEntryDateLine(lines.front().toStdString(), locale)) first = 1;
  for (qsizetype i = first; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty()) continue;
    QString title = line.left(kTitleLimit);
    if (title.size() == kTitleLimit && title.back().isHighSurrogate()) title.chop(1);
    return title.toStdString();
  }
  const QString stamp = QFileInfo(QString::fromStdString(fileName)).completeBaseName();
  const QDateTime made = QDateTime::fromString(stamp, QStringLiteral("yyyyMMddHHmmss"));
  return made.isValid() ? DefaultEntryTitle(made, locale) : stamp.toStdString();
}

}  // namespace kl
