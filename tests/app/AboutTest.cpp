#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "app/About.h"
#include "framework/ClickLabel.h"
#include "platform/version/VersionInfo.h"
#include "store/AboutLinks.h"
#include "tests/app/MainFormFixture.h"
#include "tests/support/UrlRecorder.h"

namespace kl::testing {
namespace {

class AboutTest : public MainFormFixture {
 protected:
  // Runs ShowAbout and answers what the dialog held while it was up.
  struct Shown {
    std::string appName, copyright, caption;
    QSize client;
    bool okHasFocus = false;
  };
  Shown RunShowAbout() {
    Shown shown;
    Asked().OnModalForm = [&](QDialog& form) {
      auto& about = dynamic_cast<TfrmAbout&>(form);
      shown.appName = about.lblAppName->text().toStdString();
      shown.copyright = about.lblCopyright->text().toStdString();
      shown.caption = about.windowTitle().toStdString();
      shown.client = about.size();
      shown.okHasFocus = about.focusWidget() == about.btnOk;
    };
    Asked().QueueModalResult(2);
    ShowAbout();
    Asked().OnModalForm = nullptr;
    return shown;
  }

  static void Release(QWidget& target, int key) {
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&target, &release);
  }
};

TEST_F(AboutTest, ShowsTheNameVersionAndCopyright) {
  // This test program's file carries no version record.
  const Shown shown = RunShowAbout();
  EXPECT_EQ(shown.appName, "\r\nKennel Logbook 0.0");
  EXPECT_EQ(shown.copyright, "Copyright (C) 2026 The Kennel Logbook authors");
  EXPECT_EQ(shown.caption, "About ...");
  EXPECT_EQ(shown.client, QSize(335, 249));
  EXPECT_TRUE(shown.okHasFocus);
}

TEST_F(AboutTest, ControlsStandInTheirPlaces) {
  TfrmAbout form;
  const struct {
    QWidget* control;
    QRect place;
  } cases[] = {
      {form.lblAppName, {0, 0, 335, 65}},     {form.imgLogos, {0, 65, 335, 68}},
      {form.lblURL, {0, 133, 335, 24}},       {form.lblRecommended, {0, 157, 335, 40}},
      {form.lblCopyright, {0, 216, 335, 33}}, {form.btnOk, {282, 208, 45, 35}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.control->geometry(), c.place) << c.control->objectName().toStdString();
  EXPECT_EQ(form.btnOk->text(), "Ok");
  EXPECT_EQ(form.imgLogos->pixmap().size(), QSize(273, 59));
  EXPECT_EQ(form.lblURL->text(), "kennel-logbook.example.org");
  EXPECT_EQ(form.lblRecommended->text(),
            "Click Here For Our #1 Recommended Dog Training Course ...");
  for (QWidget* link : {static_cast<QWidget*>(form.imgLogos), static_cast<QWidget*>(form.lblURL),
                        static_cast<QWidget*>(form.lblRecommended)})
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(form.lblURL->font().bold() && form.lblURL->font().underline());
  EXPECT_EQ(form.lblURL->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(AboutTest, ReleasingEscapeClosesItAndOtherKeysDoNot) {
  TfrmAbout form;
  form.show();
  ASSERT_EQ(form.focusWidget(), form.btnOk);
  // Pressing alone closes nothing: the form waits for the release.
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(form.btnOk, &press);
  EXPECT_TRUE(form.isVisible());
  for (int key : {int(Qt::Key_A), int(Qt::Key_Return), int(Qt::Key_Space)}) {
    Release(*form.btnOk, key);
    EXPECT_TRUE(form.isVisible()) << key;
  }
  Release(*form.btnOk, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), 2);
}

TEST_F(AboutTest, OkClosesItAsCancel) {
  TfrmAbout form;
  form.show();
  form.btnOk->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), 2);
}

TEST_F(AboutTest, LinksOpenTheMakersPages) {
  UrlRecorder browser;
  TfrmAbout form;
  form.imgLogos->Click();
  form.lblURL->Click();
  form.lblRecommended->Click();
  EXPECT_EQ(browser.Opened(), (std::vector<std::string>{HomePage, HomePage, CoursePage}));
}

TEST_F(AboutTest, GreetsEveryStartBeforeTheTreeIsFilled) {
  bool indexOpenWhileShown = true;
  Asked().OnModalForm = [&](QDialog&) { indexOpenWhileShown = JournalIni() != nullptr; };
  Start();
  Asked().OnModalForm = nullptr;
  EXPECT_EQ(Asked().ModalForms(), std::vector<std::string>{"frmAbout"});
  EXPECT_FALSE(indexOpenWhileShown);
}

TEST_F(AboutTest, AboutCommandsAndBannersOfTheWindow) {
  Start();
  UrlRecorder browser;
  Asked().QueueModalResult(2);
  Form().actAbout->Execute();
  Asked().QueueModalResult(2);
  Form().mniAbout->click();
  EXPECT_EQ(Asked().ModalForms(), (std::vector<std::string>{"frmAbout", "frmAbout", "frmAbout"}));

  Form().imgLogos->Click();
  Form().imgRecom->Click();
  EXPECT_EQ(browser.Opened(), (std::vector<std::string>{HomePage, CoursePage}));
  EXPECT_EQ(Form().imgLogos->toolTip().toStdString(), HomePage);
  EXPECT_EQ(Form().imgRecom->toolTip().toStdString(), CoursePage);
}

TEST_F(AboutTest, TheProgramFileCarriesItsVersion) {
  const std::string program = KENNEL_LOGBOOK;
  const version::DWORD size = version::GetFileVersionInfoSize(program);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(version::GetFileVersionInfo(program, size, block.data()));
  const void* value = nullptr;
  version::DWORD length = 0;
  ASSERT_TRUE(version::VerQueryValue(block.data(), size, "\\", &value, &length));
  const auto* info = static_cast<const version::VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(info->dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(info->dwFileVersionLS, 0x00000024u);  // .0.36
}

}  // namespace
}  // namespace kl::testing
