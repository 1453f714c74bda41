#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QToolButton>

#include "app/ToolBar.h"
#include "tests/app/MainFormFixture.h"
#include "tests/framework/graphics/BmpFile.h"

namespace kl::testing {
namespace {

constexpr const char* kObject = "\xEF\xBF\xBC";  // the one character a picture takes

class MainFormPictures : public MainFormFixture {
 protected:
  std::string PutBitmap(const char* name, int width = 3, int height = 2) {
    BmpFile file{40, width, height, 24, 0, 0, {}, {}, {}};
    file.pixels.assign(std::size_t((width * 3 + 3) / 4 * 4 * height), 0x80);
    const std::vector<std::uint8_t> bytes = file.Bytes();
    const std::string path = Folder() + name;
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
  }

  std::string PutJpeg(const char* name) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG"));
    const std::string path = Folder() + name;
    WriteFile(path, bytes.toStdString());
    return path;
  }

  // Runs the command as the button does, so a failure goes to the error report.
  void ClickInsertImage() {
    Form().tlbMaintoolbar->findChild<QToolButton*>("btnInsertImage")->click();
  }
};

TEST_F(MainFormPictures, ThePictureDialogOpensInTheProgramFolderOnBitmaps) {
  Start();
  Asked().QueueOpenFileCancel();
  ClickInsertImage();
  ASSERT_EQ(Asked().OpenFiles().size(), 1u);
  const OpenFileRequest& asked = Asked().OpenFiles().front();
  EXPECT_EQ(asked.initialDir, Folder());
  EXPECT_EQ(asked.filter.rfind("Bitmaps (*.bmp)|*.bmp|Photos (*.jpg;*.jpeg;*.png)|", 0), 0u);
  EXPECT_EQ(asked.filterIndex, 1);
  EXPECT_TRUE(asked.withPreview);
  EXPECT_TRUE(asked.title.empty());
}

TEST_F(MainFormPictures, CancellingChangesNothing) {
  Start();
  const std::string before = EditorText();
  Editor().SetModified(false);
  Form().UpdateModifiedStatus();
  Asked().QueueOpenFileCancel();
  ClickInsertImage();
  EXPECT_EQ(EditorText(), before);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(Panel(1), "");
}

TEST_F(MainFormPictures, APictureReplacesTheSelectionOrGoesInAtTheCaret) {
  Start();
  Editor().SetText("");
  Type("abc");
  Editor().SetSelectionStart(1);
  Editor().SetSelectionLength(1);
  Asked().QueueOpenFile(PutBitmap("one.bmp"));
  ClickInsertImage();
  EXPECT_EQ(EditorText(), std::string("a") + kObject + "c");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Panel(1), "Modified");

  Editor().SetSelectionStart(3);
  Editor().SetSelectionLength(0);
  Asked().QueueOpenFile(PutJpeg("photo.jpg"));
  ClickInsertImage();
  EXPECT_EQ(EditorText(), std::string("a") + kObject + "c" + kObject);
  EXPECT_TRUE(Asked().Messages().empty());
}

TEST_F(MainFormPictures, AFileThatIsNotABitmapLeavesTheEntryAlone) {
  Start();
  Type("Heel work");
  Editor().SetModified(false);
  Form().UpdateModifiedStatus();
  const std::string before = EditorText();
  WriteFile(Folder() + "notes.bmp", "Sit. Stay. Come.");
  Asked().QueueOpenFile(Folder() + "notes.bmp");
  ClickInsertImage();
  ASSERT_EQ(MessageTexts(), std::vector<std::string>{"Bitmap image is not valid."});
  EXPECT_EQ(Asked().Messages().back().icon, MsgIcon::Error);
  EXPECT_EQ(EditorText(), before);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(Panel(1), "");

  Asked().QueueOpenFile(Folder() + "missing.bmp");
  ClickInsertImage();
  EXPECT_EQ(MessageTexts().back(),
            "Cannot open file \"" + Folder() + "missing.bmp\". No such file or directory.");
  EXPECT_EQ(EditorText(), before);
}

TEST_F(MainFormPictures, PicturesComeBackWhenTheEntryIsOpenedAgain) {
  Start();
  Editor().SetText("");
  Asked().QueueOpenFile(PutBitmap("one.bmp", 5, 4));
  ClickInsertImage();
  Asked().QueueOpenFile(PutJpeg("photo.jpg"));
  ClickInsertImage();
  Asked().QueueInput("Pictures");
  Form().actSave->Execute();
  ASSERT_EQ(EntryFiles().size(), 1u);
  const std::string saved = ReadFile(JournalPath() + "/" + EntryFiles().front().toStdString());
  EXPECT_NE(saved.find("{\\pict\\dibitmap0\\picw5\\pich4\\picwgoal75\\pichgoal60"),
            std::string::npos);
  EXPECT_NE(saved.find("\\jpegblip\\picw64\\pich48\\picwgoal960\\pichgoal720"), std::string::npos);

  Form().actNew->Execute();
  Form().tvEntries->setCurrentItem(Form().tvEntries->topLevelItem(0)->child(0));
  Form().tvEntriesDblClick(nullptr);
  EXPECT_EQ(EditorText(), std::string(kObject) + kObject);
  EXPECT_FALSE(Editor().Modified());
}

}  // namespace
}  // namespace kl::testing
