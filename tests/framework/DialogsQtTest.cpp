// The Qt dialogs, driven headless: each test answers the dialog from a timer once it is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "framework/Font.h"
#include "framework/dialogs/FileFilter.h"
#include "framework/dialogs/QtDialogs.h"

namespace kl {
namespace {

// Qt's file dialog remembers its history in the user's settings; in tests those settings live
// in a temporary folder.
class SettingsInTemporaryFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<QTemporaryDir>();
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
      QSettings::setPath(format, QSettings::UserScope, folder_->path());
    }
  }
  void TearDown() override { folder_.reset(); }

 private:
  std::unique_ptr<QTemporaryDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const settingsEnvironment =
    ::testing::AddGlobalTestEnvironment(new SettingsInTemporaryFolder);

// Calls answer with the next modal dialog once it is on screen; answer must close it. Should it
// not, the dialog is rejected after a while so that the test fails instead of waiting.
void AnswerNextModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
      if (++*tries > 500) {
        timer->deleteLater();
        ADD_FAILURE() << "no modal dialog came";
      }
      return;
    }
    timer->deleteLater();
    answer(modal);
    QTimer::singleShot(3000, modal, [modal] {
      ADD_FAILURE() << "the dialog was left open";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
  });
  timer->start(10);
}

QPushButton* ButtonWithText(QMessageBox* box, const QString& text) {
  for (QAbstractButton* button : box->buttons()) {
    if (button->text() == text) return qobject_cast<QPushButton*>(button);
  }
  return nullptr;
}

TEST(QtDialogsMessageBox, ConfirmationLooksAsAskedAndAnswersTheButtonClicked) {
  QtDialogs dialogs;
  for (const auto& [clicked, expected] :
       {std::pair{"&Yes", MsgResult::Yes}, std::pair{"&No", MsgResult::No}}) {
    AnswerNextModal([clicked = QString(clicked)](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), "Confirm");
      EXPECT_EQ(box->icon(), QMessageBox::Question);
      EXPECT_EQ(box->text(), "Entry was modified! Do you want to save modified entry?");
      EXPECT_EQ(box->buttons().size(), 2);
      ASSERT_NE(ButtonWithText(box, "&Yes"), nullptr);
      ASSERT_NE(ButtonWithText(box, "&No"), nullptr);
      const QPoint centre = box->screen()->availableGeometry().center();
      EXPECT_LE((box->frameGeometry().center() - centre).manhattanLength(), 2)
          << "centred on the screen";
      ButtonWithText(box, clicked)->click();
    });
    MessageRequest request{"Entry was modified! Do you want to save modified entry?",
                           "Confirm",
                           MsgIcon::Question,
                           MsgButtons::YesNo,
                           {"&Yes", "&No"}};
    EXPECT_EQ(dialogs.MessageBox(request), expected);
  }
}

TEST(QtDialogsMessageBox, ConfirmationIgnoresEscapeAndTheCloseBox) {
  QtDialogs dialogs;
  AnswerNextModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &escape);
    EXPECT_TRUE(box->isVisible()) << "Escape answers nothing";
    EXPECT_FALSE(box->close());
    EXPECT_TRUE(box->isVisible()) << "the window system's close is no answer";
    EXPECT_FALSE(box->windowFlags() & Qt::WindowCloseButtonHint) << "no close box is offered";
    ButtonWithText(box, "&Yes")->click();
  });
  MessageRequest request{"Entry was modified! Do you want to save modified entry?",
                         "Confirm",
                         MsgIcon::Question,
                         MsgButtons::YesNo,
                         {"&Yes", "&No"}};
  EXPECT_EQ(dialogs.MessageBox(request), MsgResult::Yes);
}

TEST(QtDialogsMessageBox, PlainMessageShowsItsTextAsPlainText) {
  QtDialogs dialogs;
  AnswerNextModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Kennel Logbook");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->textFormat(), Qt::PlainText) << "a title is never read as markup";
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons()[0]->text(), "OK");
    box->buttons()[0]->click();
  });
  MessageRequest request{
      "<b>Sit</b> & stay", "Kennel Logbook", MsgIcon::Error, MsgButtons::Ok, {"OK"}};
  EXPECT_EQ(dialogs.MessageBox(request), MsgResult::Ok);
}

TEST(QtDialogsInputBox, EnforcesTheLengthAndAnswersTheDefaultOnCancel) {
  QtDialogs dialogs;
  const InputRequest request{"Add journal entry title", "Entry title", "", 5};
  AnswerNextModal([](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Add journal entry title");
    EXPECT_EQ(dialog->labelText(), "Entry title");
    auto* edit = dialog->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("Sit and stay");
    dialog->accept();
  });
  EXPECT_EQ(dialogs.InputBox(request), "Sit a");

  AnswerNextModal([](QWidget* modal) {
    modal->findChild<QLineEdit*>()->setText("typed");
    qobject_cast<QDialog*>(modal)->reject();
  });
  EXPECT_EQ(dialogs.InputBox({"Add journal entry title", "Entry title", "given", 255}), "given");
}

TEST(QtDialogsOpenFile, SettingsReachTheDialogAndTheChosenPathComesBack) {
  QTemporaryDir dir;
  const QString picture = dir.filePath("dog.bmp");
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(picture, "BMP"));

  QtDialogs dialogs;
  AnswerNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Select journal entry ...");
    EXPECT_EQ(dialog->nameFilters(), (QStringList{"Kennel Logbook (*.klb)", "All Files (*.*)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), "All Files (*.*)");
    EXPECT_EQ(dialog->defaultSuffix(), "klb");
    EXPECT_EQ(dialog->directory().absolutePath(), dir.path());
    EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile) << "a typed name need not exist";
    auto* preview = dialog->findChild<QLabel*>("picturePreview");
    ASSERT_NE(preview, nullptr);
    emit dialog->currentChanged(picture);
    EXPECT_FALSE(preview->pixmap().isNull()) << "the picked bitmap is shown";
    // Typed into the name field, as a person would (selectFile leaves a focused field alone).
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(picture);
    static_cast<QDialog*>(dialog)->accept();
  });
  OpenFileRequest request;
  request.title = "Select journal entry ...";
  request.filter = "Kennel Logbook (*.klb)|*.klb|All Files (*.*)|*.*";
  request.filterIndex = 2;
  request.defaultExt = ".klb";
  request.initialDir = dir.path().toStdString();
  request.withPreview = true;
  EXPECT_EQ(dialogs.OpenFile(request), picture.toStdString());

  AnswerNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  EXPECT_EQ(dialogs.OpenFile(request), std::nullopt);
}

TEST(QtDialogsFileFilter, PairsBecomeQtNameFilters) {
  struct Case {
    std::string filter;
    QStringList expected;
  };
  const Case cases[] = {
      {"Kennel Logbook (*.klb)|*.klb|All Files (*.*)|*.*",
       {"Kennel Logbook (*.klb)", "All Files (*.*)"}},
      {"Bitmaps (*.bmp)|*.bmp", {"Bitmaps (*.bmp)"}},
      {"Pictures|*.bmp;*.png", {"Pictures (*.bmp *.png)"}},
      {"Photos (*.jpg;*.png)|*.jpg;*.png", {"Photos (*.jpg *.png)"}},
      {"Text (plain)|*.txt", {"Text (plain) (*.txt)"}},
      {"Odd|", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ToQtNameFilters(c.filter), c.expected) << c.filter;
}

TEST(QtDialogsChooseFont, WritesBackOnlyWhatTheUserConfirmed) {
  QtDialogs dialogs;
  TFont font;
  font.Color = 0x0000FF;
  AnswerNextModal([](QWidget* modal) {
    auto* dialog = qobject_cast<QFontDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    QFont chosen("DejaVu Sans");
    chosen.setPointSize(14);
    chosen.setBold(true);
    chosen.setItalic(true);
    dialog->setCurrentFont(chosen);
    dialog->accept();
  });
  ASSERT_TRUE(dialogs.ChooseFont(font));
  EXPECT_EQ(font.Size, 14);
  EXPECT_TRUE(font.Style.contains(TFontStyle::Bold));
  EXPECT_TRUE(font.Style.contains(TFontStyle::Italic));
  EXPECT_FALSE(font.Name.empty());
  EXPECT_EQ(font.Color, 0x0000FFu) << "a colour the user did not touch stays";

  AnswerNextModal([](QWidget* modal) {
    auto* color = modal->findChild<QComboBox*>(QStringLiteral("fontColor"));
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->currentText(), QStringLiteral("Red"));
    color->setCurrentIndex(color->findText(QStringLiteral("Automatic")));
    qobject_cast<QDialog*>(modal)->accept();
  });
  ASSERT_TRUE(dialogs.ChooseFont(font));
  EXPECT_EQ(font.Color, clWindowText);

  const TFont before = font;
  AnswerNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  EXPECT_FALSE(dialogs.ChooseFont(font));
  EXPECT_EQ(font, before);
}

TEST(QtDialogsChoosePrinter, AnswersTheCopiesChosenOrNothingOnCancel) {
  QtDialogs dialogs;
  AnswerNextModal([](QWidget* modal) {
    ASSERT_NE(qobject_cast<QPrintDialog*>(modal), nullptr);
    qobject_cast<QDialog*>(modal)->accept();
  });
  const std::optional<PrintRequest> chosen = dialogs.ChoosePrinter({"", 3, {}});
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->copies, 3);
  AnswerNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  EXPECT_FALSE(dialogs.ChoosePrinter({}).has_value());
}

TEST(QtDialogsExecModal, RunsTheFormAndAnswersItsResult) {
  QtDialogs dialogs;
  QDialog form;
  AnswerNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
  EXPECT_EQ(dialogs.ExecModal(form), QDialog::Accepted);
}

}  // namespace
}  // namespace kl
