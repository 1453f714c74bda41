// The application's error report for failures that escape an event handler.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/dialogs/ScriptedDialogs.h"

namespace kl {
namespace {

TEST(ApplicationHandleException, ReportBoxAndFullStopRule) {
  auto owned = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& dialogs = *owned;
  SetDialogs(std::move(owned));
  Application().SetTitle("Kennel Logbook");
  struct Case {
    std::string message;
    std::string shown;
  };
  // The full stop follows every last character that sorts after "." (letters, digits, "/",
  // "?", anything outside ASCII) and none that sorts before or is "." itself.
  const Case cases[] = {
      {"Failed to Load Stream", "Failed to Load Stream."},
      {"I/O error 183", "I/O error 183."},
      {"Invalid filename", "Invalid filename."},
      {"Done.", "Done."},
      {"Stop!", "Stop!"},
      {"(none)", "(none)"},
      {"a-", "a-"},
      {"trailing blank ", "trailing blank "},
      {"", ""},
      {"Why?", "Why?."},
      {"C:/x/", "C:/x/."},
      {"Fuß", "Fuß."},
  };
  for (const Case& c : cases) Application().HandleException(Exception(c.message));
  ASSERT_EQ(dialogs.Messages().size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const MessageRequest& shown = dialogs.Messages()[i];
    EXPECT_EQ(shown.text, cases[i].shown) << "'" << cases[i].message << "'";
    EXPECT_EQ(shown.caption, "Kennel Logbook");
    EXPECT_EQ(shown.icon, MsgIcon::Error);
    EXPECT_EQ(shown.buttons, MsgButtons::Ok);
  }
  // Any failure carrying a message is reported the same way.
  Application().HandleException(std::runtime_error("disk full"));
  EXPECT_EQ(dialogs.Messages().back().text, "disk full.");
  SetDialogs(nullptr);
}

TEST(ApplicationExeName, IsTheRunningProgramsFile) {
  EXPECT_EQ(Application().ExeName(), QCoreApplication::applicationFilePath().toStdString());
}

}  // namespace
}  // namespace kl
