// The extended text messages, the text limit and word breaks.

#include "platform/richedit/RichEditOle.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

using TextExTest = RichEditTest;

TEST_F(TextExTest, GetSelTextGivesBareBreaks) {
  setText("one\r\ntwo");
  struct Case {
    LONG from, to;
    const char* want;
  };
  for (const Case c : {Case{0, 5, "one\rt"}, Case{2, 2, ""}, Case{0, -1, "one\rtwo"}}) {
    select(c.from, c.to);
    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(send(EM_GETSELTEXT, 0, buffer), LRESULT(std::strlen(c.want)));
    EXPECT_STREQ(buffer, c.want);
  }
}

TEST_F(TextExTest, GetTextExAsAsked) {
  setText("a\rtest\rstring");
  select(2, 6);
  struct Case {
    DWORD flags;
    const char* want;
  };
  const Case cases[] = {
      {GT_DEFAULT, "a\rtest\rstring"},
      {GT_USECRLF, "a\r\ntest\r\nstring"},
      {GT_SELECTION, "test"},
      {GT_SELECTION | GT_USECRLF, "test"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    char buffer[64];
    GETTEXTEX ask{sizeof buffer, c.flags, 0, nullptr, nullptr};
    EXPECT_EQ(send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&ask), buffer),
              LRESULT(std::strlen(c.want)));
    EXPECT_STREQ(buffer, c.want);
  }
  // A small buffer holds what fits with its zero.
  char small[4];
  GETTEXTEX ask{sizeof small, GT_DEFAULT, 0, nullptr, nullptr};
  EXPECT_EQ(send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&ask), small), 3);
  EXPECT_STREQ(small, "a\rt");
  // Code page 1200 gives UTF-16 and answers characters.
  char16_t wide[16];
  GETTEXTEX unicode{sizeof wide, GT_USECRLF, CP_UNICODE, nullptr, nullptr};
  setText("h\xC3\xA9\rx");
  EXPECT_EQ(send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&unicode), wide), 5);
  EXPECT_EQ(std::u16string(wide), u"h\u00e9\r\nx");
}

TEST_F(TextExTest, SetTextExReplacesAsAsked) {
  struct Case {
    DWORD flags;
    UINT codepage;
    std::string text;
    const char* want;
    LRESULT canUndo;
  };
  const std::u16string wide = u"wide\u00e9";
  const Case cases[] = {
      {ST_DEFAULT, 0, "new", "new", 0},
      {ST_SELECTION, 0, "NEW", "olNEWext", 0},
      {ST_SELECTION | ST_KEEPUNDO, 0, "NEW", "olNEWext", 1},
      {ST_KEEPUNDO, 0, "all", "all", 1},
      {ST_DEFAULT, 0, "{\\rtf1 rich\\par}", "rich", 0},  // RTF is read as RTF
      {ST_SELECTION, 0, "{\\rtf1 R\\par}", "olR\rext", 0},
      {ST_DEFAULT, CP_UNICODE,
       std::string(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * 2),
       "wide\xC3\xA9", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    setText("oldtext");
    send(EM_SETMODIFY, 0);
    select(2, 4);
    SETTEXTEX set{c.flags, c.codepage};
    EXPECT_EQ(send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), c.text.data()), 1);
    EXPECT_EQ(range(0, -1), c.want);
    EXPECT_EQ(send(EM_CANUNDO), c.canUndo);
    if (c.canUndo) {
      send(EM_UNDO);
      EXPECT_EQ(range(0, -1), "oldtext");
    }
  }
}

TEST_F(TextExTest, TextLengthExRefusesCharsAndBytesTogether) {
  setText("a\rtest\rstring");
  struct Case {
    DWORD flags;
    LRESULT want;
  };
  const Case cases[] = {
      {GTL_NUMCHARS | GTL_PRECISE, 13},
      {GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 15},
      {GTL_NUMCHARS | GTL_NUMBYTES, LRESULT(E_INVALIDARG)},
  };
  for (const Case c : cases) {
    GETTEXTLENGTHEX ask{c.flags, 0};
    EXPECT_EQ(send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&ask), 0), c.want);
  }
}

TEST_F(TextExTest, LimitTextAndItsReaders) {
  EXPECT_EQ(send(EM_GETLIMITTEXT), 32767);
  struct Case {
    WPARAM limit;
    LRESULT want;
  };
  for (const Case c : {Case{10, 10}, Case{0, 65536}, Case{70000, 70000}}) {
    send(EM_LIMITTEXT, c.limit);
    EXPECT_EQ(send(EM_GETLIMITTEXT), c.want);
    EXPECT_EQ(send(EM_GETLIMITTEXT_RICHEDIT), c.want);  // the older number answers the same
  }
  send(EM_LIMITTEXT, 5);
  replace("abcdefgh");
  EXPECT_EQ(range(0, -1), "abcde");
}

TEST_F(TextExTest, FindWordBreak) {
  setText("one two  three\rfour");
  //        0123456789012345678
  struct Case {
    WPARAM code;
    LPARAM pos;
    LRESULT want;
  };
  const Case cases[] = {
      {WB_ISDELIMITER, 3, 1},
      {WB_ISDELIMITER, 4, 0},
      {WB_ISDELIMITER, 14, 1},
      {WB_CLASSIFY, 1, 0},
      {WB_CLASSIFY, 3, WBF_ISWHITE | WBF_BREAKAFTER},
      {WB_CLASSIFY, 14, WBF_ISWHITE | WBF_BREAKLINE},
      {WB_MOVEWORDRIGHT, 0, 4},
      {WB_MOVEWORDRIGHT, 4, 9},
      {WB_MOVEWORDRIGHT, 9, 15},
      {WB_RIGHT, 5, 9},
      {WB_MOVEWORDLEFT, 9, 4},
      {WB_MOVEWORDLEFT, 6, 4},
      {WB_LEFT, 15, 9},
      {WB_LEFTBREAK, 9, 7},
      {WB_RIGHTBREAK, 4, 7},
      {WB_RIGHTBREAK, 7, 14},
      {WB_MOVEWORDRIGHT, 99, 19},
      {WB_MOVEWORDLEFT, -3, 0},
  };
  for (const Case c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " at " << c.pos);
    EXPECT_EQ(send(EM_FINDWORDBREAK, c.code, c.pos), c.want);
  }
}

}  // namespace
}  // namespace richedit::test
