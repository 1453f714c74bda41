#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "framework/Exception.h"
#include "framework/Font.h"
#include "framework/MemoryStream.h"
#include "framework/StringList.h"

namespace kl {
namespace {

// Records the update notices a descendant hears.
class CountingList : public TStringList {
 public:
  std::vector<bool> states;

 protected:
  void SetUpdateState(bool updating) override { states.push_back(updating); }
};

TEST(StringsTest, SetTextSplitsAtEveryKindOfBreak) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\r\n", {"", ""}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    ASSERT_EQ(list.Count(), int(c.lines.size())) << c.text;
    for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list[i], c.lines[std::size_t(i)]) << c.text;
  }
}

TEST(StringsTest, TextAndStreamsUseCrLf) {
  TStringList list;
  list.Add("Sit");
  list.Insert(0, "Heel");
  list.Add("Stay");
  list.Delete(1);
  EXPECT_EQ(list.Text(), "Heel\r\nStay\r\n");
  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.SetPosition(0);
  TStringList copy;
  copy.LoadFromStream(stream);
  EXPECT_EQ(copy.Text(), list.Text());
  EXPECT_THROW(list.Get(2), Exception);
  EXPECT_THROW(list.Insert(5, "x"), Exception);
}

TEST(StringsTest, FilesRoundTrip) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("list.txt").toStdString();
  TStringList list;
  list.SetText("one\ntwo");
  list.SaveToFile(path);
  TStringList copy;
  copy.LoadFromFile(path);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy[1], "two");
}

TEST(StringsTest, NestedUpdatesNotifyOnceEachWay) {
  CountingList list;
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("a");
  list.EndUpdate();
  list.EndUpdate();
  list.EndUpdate();  // one too many is harmless
  EXPECT_EQ(list.states, (std::vector<bool>{true, false}));
}

TEST(PersistentTest, AssignCopiesListsAndRefusesStrangers) {
  TStringList source;
  source.SetText("a\nb");
  TStringList dest;
  dest.Add("old");
  dest.Assign(source);
  EXPECT_EQ(dest.Text(), "a\r\nb\r\n");

  class Other : public TPersistent {
   public:
    const char* ClassName() const override { return "TOther"; }
  };
  try {
    dest.Assign(Other());
    FAIL() << "assigned a stranger";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TStringList");
  }
}

TEST(ColorTest, SystemColoursHaveRgbValues) {
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
}

}  // namespace
}  // namespace kl
