#pragma once
// A journal in a temporary program folder, with scripted dialogs that record every message.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "framework/Application.h"
#include "framework/dialogs/ScriptedDialogs.h"
#include "store/GlobalUnit.h"
#include "store/IniFile.h"

namespace kl::testing {

class StoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    Application().SetTitle("Kennel Logbook");
    dialogs_ = &InstallScriptedDialogs();
    SetAppFolder(dir_.path().toStdString());
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Journals"));
    OpenJournalIni();
  }

  void TearDown() override {
    CloseJournalIni();
    SetDialogs(nullptr);
  }

  std::string Folder() const { return dir_.path().toStdString() + "/"; }
  std::string IniPath() const { return Folder() + "journal.ini"; }

  // The index as text, with "\n" for its CR LF line ends.
  std::string IniText() const {
    QFile file(QString::fromStdString(IniPath()));
    if (!file.open(QIODevice::ReadOnly)) return "<no index>";
    return file.readAll().replace("\r\n", "\n").toStdString();
  }

  void PutIni(const std::string& text) const {
    QFile file(QString::fromStdString(IniPath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(text).replace("\n", "\r\n"));
  }

  static void Touch(const std::string& path) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageRequest& request : dialogs_->Messages()) texts.push_back(request.text);
    return texts;
  }

  QTemporaryDir dir_;
  ScriptedDialogs* dialogs_ = nullptr;
};

}  // namespace kl::testing
