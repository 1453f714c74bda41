#include "platform/richedit/rtf/RtfParser.h"

#include <algorithm>

// Style sheets: each entry keeps the formatting words it was given; a paragraph's \s or a run's
// \cs replays its style's words (those of the styles it is based on first) before the words
// that follow it, so the text carries the style's look as its own formatting.

namespace richedit::rtf {

namespace {
constexpr std::size_t kMaxStyleWords = 4096;  // more than any real style chain holds

// The words a style carries: character and paragraph formatting and the font. Words that
// put something into the text (\u in a style's name, breaks) stay in the entry.
bool isFormatting(Word id) {
  return id == Word::Font || (id >= Word::Plain && id <= Word::ListLevelIndex);
}
}  // namespace

bool RtfParser::styleWord(const WordInfo& info, bool hasParameter, int parameter) {
  const int value = hasParameter ? parameter : info.defaultParameter;
  switch (info.id) {
    case Word::ParagraphStyle:
    case Word::CharacterStyle:
    case Word::OtherStyle:
      style_.number = value;
      style_.kind = info.id;
      return true;
    case Word::BasedOn:
      style_.basedOn = value;
      return true;
    case Word::NextStyle:
      return true;  // which style a new paragraph takes while typing: nothing to show
    default:
      break;
  }
  if (info.kind == WordKind::Destination) return false;  // its group is skipped
  if (isFormatting(info.id) && style_.words.size() < kMaxStyleWords)
    style_.words.push_back({&info, hasParameter, parameter});
  return true;
}

void RtfParser::collectStyleWords(const std::map<int, StyleEntry>& styles, int number,
                                  std::vector<int>& seen, std::vector<StyleWord>& words) const {
  // A style that comes back to one already followed (itself, or through a ring of bases)
  // adds nothing more.
  if (std::find(seen.begin(), seen.end(), number) != seen.end()) return;
  const auto it = styles.find(number);
  if (it == styles.end()) return;
  seen.push_back(number);
  if (it->second.basedOn != StyleEntry::kNoBase)
    collectStyleWords(styles, it->second.basedOn, seen, words);
  const auto& own = it->second.words;
  const std::size_t room = kMaxStyleWords > words.size() ? kMaxStyleWords - words.size() : 0;
  words.insert(words.end(), own.begin(), own.begin() + std::ptrdiff_t(std::min(room, own.size())));
}

void RtfParser::applyStyle(Word kind, int number) {
  const auto& styles = kind == Word::ParagraphStyle ? paragraphStyles_ : characterStyles_;
  std::vector<int> seen;
  std::vector<StyleWord> words;
  collectStyleWords(styles, number, seen, words);
  for (const StyleWord& word : words) dispatch(*word.info, word.hasParameter, word.parameter);
}

}  // namespace richedit::rtf
