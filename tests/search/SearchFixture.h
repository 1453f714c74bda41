#pragma once
// A journal in a temporary folder: entries written as RTF files and recorded in "journal.ini"
// as the program records them, and the search index beside it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <utility>

#include "store/GlobalUnit.h"

namespace kl::testing {

class SearchFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetAppFolder(dir_.path().toStdString());
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Journals"));
  }

  std::string IndexPath() const { return dir_.filePath("journal.search.db").toStdString(); }
  std::string EntryPath(int number) const {
    return dir_.filePath(QStringLiteral("Journals/%1.klb").arg(number)).toStdString();
  }

  // Writes the entry's file with body as the RTF between the header and the final \par, and
  // records it in the index file.
  void PutEntry(int number, const std::string& title, const std::string& body) {
    WriteFile(EntryPath(number),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "\\par}");
    entries_[number] = title;
    WriteIni();
  }

  void ForgetEntry(int number) {
    entries_.erase(number);
    WriteIni();
  }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), qint64(bytes.size()));
  }

  void WriteIni() {
    std::string text = "[Journal]\r\n";
    for (const auto& [number, title] : entries_)
      text += std::to_string(number) + "=" + title + "\r\n";
    if (!entries_.empty()) text += "Count=" + std::to_string(entries_.rbegin()->first) + "\r\n";
    text += "[Entries]\r\n";
    for (const auto& entry : entries_)
      text += std::to_string(entry.first) + "=" + EntryPath(entry.first) + "\r\n";
    WriteFile(dir_.filePath("journal.ini").toStdString(), text);
  }

  QTemporaryDir dir_;
  std::map<int, std::string> entries_;
};

}  // namespace kl::testing
