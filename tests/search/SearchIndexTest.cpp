// The index's searching: how words are folded, the query forms, ranking, snippets, queries that
// are not valid full-text syntax, and an index file that cannot serve.
#include <QFile>
#include <string>
#include <vector>

#include "search/JournalCheck.h"
#include "search/SearchIndex.h"
#include "tests/search/SearchFixture.h"

namespace kl::testing {
namespace {

class SearchIndexTest : public SearchFixture {
 protected:
  TSearchIndex& Built() {
    index_ = std::make_unique<TSearchIndex>(IndexPath());
    CheckJournal(*index_);
    return *index_;
  }

  std::vector<int> Find(const std::string& query) { return index_->RankedMatches(query); }

  std::unique_ptr<TSearchIndex> index_;
};

struct FoldCase {
  const char* body;  // RTF
  const char* query;
  bool found;
};

TEST_F(SearchIndexTest, WordsAreFoundAsTheIndexFoldsThem) {
  const std::vector<FoldCase> cases = {
      {"Vet said M\\'fcller was right", "muller", true},    // code page byte, diacritic
      {"Vet said M\\u252?ller was right", "MULLER", true},  // \u escape, case
      {"Walk with \\u-10179?\\u-9195? today", "\xF0\x9F\x90\x95", true},  // a symbol is a word
      {"Recall at the lake", "rec*", true},                               // prefix
      {"Recall at the lake", "rec", false},                               // a word is whole
      {"sit and then stay", "\"sit stay\"", false},                       // phrase needs the order
      {"we did sit stay twice", "\"sit stay\"", true},
      {"sit and stay", "stay sit", true},       // words in any order
      {"sit and stay", "sit heel", false},      // every word is required
      {"a 30-second stay", "30-second", true},  // split as the text is
      {"left paw {\\pict\\wmetafile8\\picw1\\pich1 0100090000} bandaged", "0100090000", false},
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
    PutEntry(int(i) + 2, "Entry " + std::to_string(i), cases[i].body);
  Built();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::vector<int> hits = Find(cases[i].query);
    const bool found = std::find(hits.begin(), hits.end(), int(i) + 2) != hits.end();
    EXPECT_EQ(found, cases[i].found) << cases[i].body << " / " << cases[i].query;
  }
}

TEST_F(SearchIndexTest, TitleHitRanksAboveBodyHit) {
  PutEntry(2, "Morning walk", "We went to the lake and practised recall near the water.");
  PutEntry(3, "Recall", "Short session in the garden.");
  Built();
  EXPECT_EQ(Find("recall"), (std::vector<int>{3, 2}));
}

TEST_F(SearchIndexTest, SnippetMarksTheMatchedWordsOnOneLine) {
  PutEntry(2, "Vet", "The vet looked at the left paw.\\par It heals well.");
  Built();
  const std::vector<TSearchHit> hits = index_->Search("paw heals", 50);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].title, "Vet");
  EXPECT_NE(hits[0].snippet.find("left \xC2\xAB"
                                 "paw\xC2\xBB"),
            std::string::npos)
      << hits[0].snippet;
  EXPECT_EQ(hits[0].snippet.find('\n'), std::string::npos);
  EXPECT_EQ(index_->Snippet("paw", 2).find("\xC2\xAB"
                                           "paw\xC2\xBB") == std::string::npos,
            false);
}

TEST_F(SearchIndexTest, QueriesOutsideTheSyntaxAnswerCleanly) {
  PutEntry(2, "Notes", "and or not near vet paw");
  Built();
  EXPECT_EQ(Find("AND OR NOT"), std::vector<int>{2});  // operators alone: plain words
  EXPECT_EQ(Find("vet: paw"), std::vector<int>{2});    // not a column: plain words
  EXPECT_EQ(Find("NEAR(vet"), std::vector<int>{2});
  EXPECT_TRUE(Find("!!! ... ???").empty());
  EXPECT_TRUE(Find("   ").empty());
  EXPECT_TRUE(Find(std::string(10000, 'x')).empty());
  EXPECT_TRUE(Find(std::string(5000, '(') + std::string(5000, '"')).empty());
  EXPECT_NO_THROW(index_->Search(std::string(10000, '*'), 50));
}

TEST_F(SearchIndexTest, DamagedFileIsSetAsideAndAFreshIndexServes) {
  PutEntry(2, "Vet", "left paw");
  WriteFile(IndexPath(), std::string(4096, 'x'));
  std::string message;
  std::unique_ptr<TSearchIndex> index = OpenSearchIndex(IndexPath(), message);
  EXPECT_NE(message.find("set aside"), std::string::npos) << message;
  EXPECT_TRUE(QFile::exists(QString::fromStdString(IndexPath() + ".damaged")));
  CheckJournal(*index);
  EXPECT_EQ(index->RankedMatches("paw"), std::vector<int>{2});

  // A sound index opens without a word.
  index.reset();
  OpenSearchIndex(IndexPath(), message);
  EXPECT_EQ(message, "");
}

TEST_F(SearchIndexTest, ReaderKeepsAnsweringWhileAnotherConnectionWrites) {
  PutEntry(2, "Vet", "left paw");
  Built();
  TSearchIndex writer(IndexPath());
  TSearchIndex::Batch batch(writer);
  writer.Put({3, "Walk", EntryPath(3), {}, ""}, QStringLiteral("paw prints in the snow"));
  // The reader sees the last committed state, without waiting for the writer's lock.
  TSearchIndex reader(IndexPath(), 0);
  EXPECT_EQ(reader.RankedMatches("paw"), std::vector<int>{2});
  batch.Commit();
  EXPECT_EQ(reader.RankedMatches("paw").size(), 2u);
}

}  // namespace
}  // namespace kl::testing
