#pragma once
// The main window started in a temporary program folder, with scripted dialogs answering and
// recording every question, and keys pressed the way the window system delivers them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "app/StatusPanels.h"
#include "editor/KlParaAttributes.h"
#include "editor/KlRichEdit.h"
#include "editor/KlTextAttributes.h"
#include "editor/RichEditStrings.h"
#include "framework/Application.h"
#include "framework/ClickLabel.h"
#include "framework/actions/Action.h"
#include "framework/dialogs/ScriptedDialogs.h"
#include "store/GlobalUnit.h"

// Exported by QtGui: offers a key to the window's shortcuts first, as a real key press does.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace kl::testing {

// The window with its journal in a folder of the test's choosing.
class TestMainForm : public TfrmMain {
 public:
  explicit TestMainForm(std::string folder) : folder_(std::move(folder)) {}

 protected:
  void SetUpJournalPaths() override { SetAppFolder(folder_); }

 private:
  std::string folder_;
};

// Shortcuts first, then the focused widget: answers true when a shortcut took the key.
inline bool PressKey(QWidget& focus, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString& text = {}) {
  if (qt_sendShortcutOverrideEvent(&focus, 0, key, mods, text, false, 1)) return true;
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(&focus, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(&focus, &release);
  return false;
}

class MainFormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    Application().SetTitle("Kennel Logbook");
    dialogs_ = &InstallScriptedDialogs();
  }

  void TearDown() override {
    if (form_) {
      // Closing asks nothing more of the test; an entry left modified is simply dropped.
      form_->rchMain->SetModified(false);
      form_->close();
      form_.reset();
    }
    CloseJournalIni();
    SetDialogs(nullptr);
  }

  // Creates the window and shows it: the About dialog, the journal, New, the focus.
  void Start() {
    dialogs_->QueueModalResult(1);
    ShowWindow();
  }
  // Creates the window and shows it, with every answer it needs already queued.
  void ShowWindow() {
    form_ = std::make_unique<TestMainForm>(Folder());
    form_->show();
    form_->activateWindow();
    QApplication::setActiveWindow(form_.get());
    QApplication::processEvents();
  }

  // Ends the window as a crash would: no closing, no question, nothing cleaned up.
  void EndWithoutClosing() {
    form_.reset();
    CloseJournalIni();
  }

  TfrmMain& Form() { return *form_; }
  TKlRichEdit& Editor() { return *form_->rchMain; }
  // The widget inside the editor that holds the keyboard focus and takes the keys.
  QWidget& EditorWindow() {
    QWidget* window = form_->rchMain->Control();
    while (window->focusProxy()) window = window->focusProxy();
    return *window;
  }
  ScriptedDialogs& Asked() { return *dialogs_; }

  std::string Folder() const { return dir_.path().toStdString() + "/"; }
  std::string JournalPath() const { return Folder() + "Journals"; }
  std::string IniPath() const { return Folder() + "journal.ini"; }
  std::string Caption() const { return form_->windowTitle().toStdString(); }
  std::string Panel(int index) const { return form_->stbMain->Text(index); }

  // The index as text, with "\n" for its CR LF line ends.
  std::string IniText() const { return ReadFile(IniPath(), "<no index>"); }
  static std::string ReadFile(const std::string& path, const std::string& missing = {}) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return missing;
    return file.readAll().replace("\r\n", "\n").toStdString();
  }
  static void WriteFile(const std::string& path, const std::string& text) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(text));
  }
  void PutIni(const std::string& text) const {
    QFile file(QString::fromStdString(IniPath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(text).replace("\n", "\r\n"));
  }
  // The entry files in the journal folder, by name.
  QStringList EntryFiles() const {
    return QDir(QString::fromStdString(JournalPath())).entryList(QDir::Files, QDir::Name);
  }

  // Puts a folder in which nobody, not even the superuser, can make files in place of
  // "Journals".
  void RefuseWritingInJournalFolder() const {
    ASSERT_TRUE(QDir(QString::fromStdString(JournalPath())).removeRecursively());
    ASSERT_TRUE(QFile::link("/proc/self/fdinfo", QString::fromStdString(JournalPath())));
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageRequest& request : dialogs_->Messages()) texts.push_back(request.text);
    return texts;
  }

  // Types text at the caret as the user does, one key at a time.
  void Type(const QString& text) {
    for (QChar c : text) {
      if (c == '\r')
        PressKey(EditorWindow(), Qt::Key_Return, Qt::NoModifier, "\r");
      else
        PressKey(EditorWindow(), c.toUpper().unicode(), Qt::NoModifier, QString(c));
    }
  }

  // The editor's whole text, paragraphs separated by "\r".
  std::string EditorText() { return Editor().TextRange(0, -1); }

 private:
  QTemporaryDir dir_;
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TestMainForm> form_;
};

}  // namespace kl::testing
