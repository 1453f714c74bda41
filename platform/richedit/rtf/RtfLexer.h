#pragma once
// Splits RTF bytes into tokens for a listener. It knows nothing of documents: groups, control
// words, control symbols, text runs, \'hh bytes and \bin data, each with where it stands.

#include <QByteArrayView>
#include <string_view>

#include "platform/richedit/rtf/RtfControlWords.h"

namespace richedit::rtf {

struct ControlWord {
  const WordInfo* info = nullptr;  // nullptr: a word the reader does not know
  std::string_view name;           // at most 32 letters; longer words are always unknown
  bool hasParameter = false;
  int parameter = 0;  // clamped to the int range
};

class RtfListener {
 public:
  virtual ~RtfListener() = default;
  virtual void onGroupOpen(qsizetype offset) = 0;  // offset of the '{'
  virtual void onGroupClose(qsizetype end) = 0;    // offset just past the '}'
  virtual void onControlWord(const ControlWord& word) = 0;
  virtual void onControlSymbol(char symbol) = 0;    // \~ \- \_ \* \| \: and a \ before a line end
  virtual void onText(std::string_view bytes) = 0;  // never holds CR, LF, '\\', '{' or '}'
  virtual void onHexByte(unsigned char byte) = 0;
  virtual void onBinary(std::string_view bytes) = 0;
  // True when the text so far ends with the lead byte of a two-byte character: its trail byte
  // comes next even when it is '\\', '{' or '}', which double-byte fonts use as trail bytes.
  virtual bool awaitsTrailByte() const { return false; }
};

class RtfLexer {
 public:
  static constexpr int kMaxWordLength = 32;

  // Feeds every token of data to the listener, in order. Never fails: broken input gives the
  // tokens that can be made of it.
  static void tokenize(QByteArrayView data, RtfListener& listener);
};

}  // namespace richedit::rtf
