// Which links a click opens, and how.

#include "app/WebLinks.h"

#include <gtest/gtest.h>

#include <vector>

namespace kl::test {
namespace {

class WebLinksTest : public ::testing::Test {
 protected:
  WebLinksTest() {
    SetLinkOpener([this](const QUrl& url) {
      opened.push_back(url.toString().toStdString());
      return true;
    });
  }
  ~WebLinksTest() override {
    SetLinkOpener([](const QUrl&) { return false; });
  }
  std::vector<std::string> opened;
};

TEST_F(WebLinksTest, OnlyWebAndMailAddressesAreOpened) {
  struct Case {
    const char* text;
    const char* opens;  // empty: never handed to the desktop
  };
  const Case cases[] = {
      {"http://example.org/dogs", "http://example.org/dogs"},
      {"https://example.org", "https://example.org"},
      {"HTTPS://Example.org/a?b=1", "https://example.org/a?b=1"},
      {"mailto:trainer@example.org", "mailto:trainer@example.org"},
      {"www.example.org", "http://www.example.org"},
      {"file:///etc/passwd", ""},
      {"ftp://example.org/file", ""},
      {"javascript:alert(1)", ""},
      {"http://", ""},
      {"mailto:", ""},
      {"smb://server/share", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    opened.clear();
    const bool opens = *c.opens != '\0';
    EXPECT_EQ(OpenLinkOnClick(c.text, TMouseButton::mbLeft, Qt::ControlModifier), opens);
    EXPECT_EQ(opened, opens ? std::vector<std::string>{c.opens} : std::vector<std::string>{});
  }
}

TEST_F(WebLinksTest, OnlyACtrlClickWithTheLeftButtonOpens) {
  struct Case {
    TMouseButton button;
    Qt::KeyboardModifiers modifiers;
    bool opens;
  };
  const Case cases[] = {
      {TMouseButton::mbLeft, Qt::ControlModifier, true},
      {TMouseButton::mbLeft, Qt::ControlModifier | Qt::ShiftModifier, true},
      {TMouseButton::mbLeft, Qt::NoModifier, false},  // places the caret instead
      {TMouseButton::mbRight, Qt::ControlModifier, false},
  };
  for (const Case& c : cases) {
    opened.clear();
    EXPECT_EQ(OpenLinkOnClick("https://example.org", c.button, c.modifiers), c.opens);
    EXPECT_EQ(opened.size(), c.opens ? 1u : 0u);
  }
}

}  // namespace
}  // namespace kl::test
