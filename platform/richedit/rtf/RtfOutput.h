#pragma once
// The bytes of an RTF stream as the writer makes them: control words with the delimiter they
// need and text escaped for the font it is in (\'hh in code page 1252 for ANSI fonts, \'hh of
// the private-use characters U+F020..U+F0FF for symbol fonts, \uN? for everything else).

#include <QByteArray>
#include <QStringView>

namespace richedit::rtf {

class RtfOutput {
 public:
  enum class Encoding { Ansi, Symbol, UnicodeOnly };

  explicit RtfOutput(qsizetype reserve = 0);

  void word(const char* name);             // \name
  void word(const char* name, int value);  // \nameN
  void raw(const char* text);              // bytes that begin with '{', '}' or '\'
  void raw(const QByteArray& bytes);
  void text(QStringView text, Encoding encoding);
  void lineEnd();  // CR LF between words, where readers ignore it

  QByteArray take() { return std::move(out_); }

 private:
  void delimit();
  void appendUnicode(char16_t unit);

  QByteArray out_;
  bool needsDelimiter_ = false;  // the last thing written is a control word
};

}  // namespace richedit::rtf
