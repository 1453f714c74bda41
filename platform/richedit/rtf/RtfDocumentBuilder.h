#pragma once
// Puts what the reader finds into the document at a cursor: text in runs of one format (one
// insertion per run), pictures as one character each, and paragraph breaks held back until
// something follows them, so that the stream's final \par is swallowed as the platform does.

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextImageFormat;

namespace richedit::rtf {

// Whether the stream's final \par, still held back at its end, becomes a paragraph break.
enum class FinalBreak { Drop, Keep };

class RtfDocumentBuilder {
 public:
  explicit RtfDocumentBuilder(QTextCursor& cursor);

  // The format of the text appended from now on.
  void setFormat(const QTextCharFormat& format);
  void appendText(const QString& text);
  void appendText(QChar c);
  void appendObject(const QTextImageFormat& format);

  // Ends the paragraph: block applies to it, mark is the format of its end-of-paragraph mark.
  void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& mark);

  // Writes what is held back; a paragraph break still pending is dropped unless kept.
  void finish(FinalBreak finalBreak = FinalBreak::Drop);

  QTextDocument* document() const { return cursor_.document(); }

 private:
  void flushRun();
  void placePendingBreak();

  QTextCursor& cursor_;
  QTextBlockFormat tailFormat_;  // the format of the block the insertion started in
  QTextCharFormat format_;
  QString run_;
  bool breakPending_ = false;
  QTextCharFormat pendingMark_;
};

}  // namespace richedit::rtf
