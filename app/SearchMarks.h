#pragma once
// The marks over the words a search found in the opened entry: translucent boxes drawn over the
// editor, never part of the entry's text or formats. They ask the editor where each word stands
// whenever they are drawn, so scrolling and wrapping keep them in place.

#include <QWidget>
#include <vector>

#include "search/SearchQuery.h"

namespace kl {

class TKlRichEdit;

class TSearchMarks : public QWidget {
 public:
  explicit TSearchMarks(TKlRichEdit& editor);

  // Marks the words of the editor's text that match terms; none for no terms.
  void Mark(std::vector<TQueryTerm> terms);
  void Clear() { Mark({}); }
  const std::vector<TTextMatch>& Matches();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FindMatches();

  TKlRichEdit& editor_;
  std::vector<TQueryTerm> terms_;
  std::vector<TTextMatch> matches_;
  int textLength_ = -1;  // of the text the matches were found in
};

}  // namespace kl
