#pragma once
// The length of the whole text as WM_GETTEXT gives it (UTF-8, CR LF per paragraph break),
// kept per paragraph so that asking for it after an edit costs only the paragraphs the edit
// touched: a Replace All asks after every replacement.

#include <cstddef>
#include <cstdint>
#include <vector>

class QTextDocument;
class QTextBlock;

namespace richedit {

class TextLengthCache {
 public:
  explicit TextLengthCache(const QTextDocument& doc) : doc_(doc) {}

  void contentsChanged(int pos, int removed, int added);
  std::int64_t withCrLfUtf8();

 private:
  void recount();
  std::int64_t bytesOf(const QTextBlock& block) const;

  const QTextDocument& doc_;
  std::vector<std::int64_t> bytes_;  // per paragraph, without its break
  std::int64_t total_ = 0;           // all paragraphs, without breaks
  bool valid_ = false;
};

}  // namespace richedit
