// EM_FINDTEXTEX: downward and upward searches, case and whole words, the hit's range, and the
// texts a person may search for (long, outside Latin-1, across a paragraph break).

#include <string>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

class FindTest : public RichEditTest {
 protected:
  struct Hit {
    LRESULT answer;
    CHARRANGE range;
  };
  Hit find(WPARAM flags, LONG from, LONG to, const std::string& needle) {
    FINDTEXTEXA f{{from, to}, needle.c_str(), {99, 99}};
    const LRESULT answer = send(EM_FINDTEXTEX, flags, &f);
    return {answer, f.chrgText};
  }
};

constexpr const char* kWines = "WINEWine wineWine wine WineWine";

TEST_F(FindTest, AnswersAsThePlatformDoes) {
  setText(kWines);
  struct Case {
    WPARAM flags;
    LONG from, to;
    const char* needle;
    LRESULT want;
  };
  const WPARAM down = FR_DOWN, exact = FR_MATCHCASE, word = FR_WHOLEWORD;
  const Case cases[] = {
      {down | exact, 0, -1, "Wine", 4},
      {down, 0, -1, "wine", 0},  // case-insensitive unless asked
      {down | exact, 0, -1, "wINE", -1},
      {down, 0, -1, "", -1},       // an empty text never matches
      {down, 10, 5, "Wine", -1},   // the range runs backwards
      {down, 27, 32, "Wine", 27},  // a range past the end is cut to the text
      {down, -1, -1, "Wine", -1},
      {down, 0, 7, "Wine", 0},
      {down | exact, 0, 7, "Wine", -1},  // the hit would end after cpMax
      // Upward: from cpMin toward the start; cpMax bounds only when it lies below cpMin.
      {exact, 19, 20, "Wine", 13},
      {exact, 10, 20, "Wine", 4},
      {exact, 20, 10, "Wine", 13},
      {exact, 20, 14, "Wine", -1},
      {exact, 19, 20, "WINE", 0},
      {exact, 0, 20, "WINE", -1},
      {exact, 31, -1, "Wine", 27},
      // Whole words.
      {down | word, 0, -1, "wine", 18},
      {down | word, 0, -1, "win", -1},
      {down | word, 13, -1, "wine", 18},
      {down | word, 0, -1, "winewine", 0},
      {down | word, 10, -1, "winewine", 23},
      {word, 11, -1, "winewine", 0},
      {word, 31, -1, "winewine", 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " {" << c.from << "," << c.to
                                    << "} \"" << c.needle << "\"");
    const Hit hit = find(c.flags, c.from, c.to, c.needle);
    EXPECT_EQ(hit.answer, c.want);
    const LONG len = LONG(std::string(c.needle).size());
    const CHARRANGE want =
        c.want < 0 ? CHARRANGE{-1, -1} : CHARRANGE{LONG(c.want), LONG(c.want) + len};
    EXPECT_EQ(hit.range.cpMin, want.cpMin);
    EXPECT_EQ(hit.range.cpMax, want.cpMax);
  }
}

TEST_F(FindTest, FindsTextsAPersonTypesWhereverTheyAre) {
  // Case folding beyond ASCII, characters outside the basic plane, a break in the needle.
  setText(
      "Stra\xC3\x9F"
      "e \xC3\x84RGER\r\xE7\x8A\xAC \xF0\x9F\x90\x95 dog\rline two");
  struct Case {
    const char* needle;
    LRESULT at;
    LONG length;  // in positions
  };
  const Case cases[] = {
      {"\xC3\xA4rger", 7, 5},           // ärger finds ÄRGER
      {"\xE7\x8A\xAC", 13, 1},          // 犬
      {"\xF0\x9F\x90\x95 DOG", 15, 6},  // the dog emoji is two positions
      {"dog\rline", 18, 8},             // across a paragraph break
      {"dog\r\nline", 18, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.needle);
    const Hit hit = find(FR_DOWN, 0, -1, c.needle);
    EXPECT_EQ(hit.answer, c.at);
    EXPECT_EQ(hit.range.cpMax - hit.range.cpMin, c.length);
  }
}

TEST_F(FindTest, SearchesLongTextsAcrossItsReadingChunks) {
  // Hits far from where the search starts, and one straddling any chunk boundary.
  std::string text(20000, 'x');
  const std::string needle(255, 'n');
  text.replace(9000, needle.size(), needle);
  text.replace(4090, 10, "0123456789");
  setText(text);
  EXPECT_EQ(find(FR_DOWN, 0, -1, needle).answer, 9000);
  EXPECT_EQ(find(FR_DOWN, 9001, -1, needle).answer, -1);
  EXPECT_EQ(find(0, 19999, -1, needle).answer, 9000);
  EXPECT_EQ(find(0, 9254, -1, needle).answer, -1);  // the hit would end after cpMin
  EXPECT_EQ(find(FR_DOWN, 100, -1, "0123456789").answer, 4090);
  EXPECT_EQ(find(0, 19000, -1, "0123456789").answer, 4090);
}

TEST_F(FindTest, AnEmptyControlFindsNothing) {
  EXPECT_EQ(find(FR_DOWN, 0, -1, "a").answer, -1);
  EXPECT_EQ(find(0, 0, -1, "a").answer, -1);
}

}  // namespace
}  // namespace richedit::test
