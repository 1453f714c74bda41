#pragma once
// Display-only formats: links shown as links (explicit link text, and the addresses that
// automatic URL detection finds while it is on) and hidden text kept out of sight. Only the
// display changes; the document's formats stay as stored.

#include <QSyntaxHighlighter>

namespace richedit {

class RichEditEngine;

class LinkHighlighter : public QSyntaxHighlighter {
 public:
  LinkHighlighter(const RichEditEngine& engine, QTextDocument* doc)
      : QSyntaxHighlighter(doc), engine_(&engine) {}

  // The engine is going; the highlighter stays with the document and goes with it. Deleting it
  // first would take its formats off every paragraph and have them all laid out again, only for
  // the document to be destroyed.
  void detach() { engine_ = nullptr; }

 protected:
  void highlightBlock(const QString& text) override;

 private:
  const RichEditEngine* engine_;
};

}  // namespace richedit
