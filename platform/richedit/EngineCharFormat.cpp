// EM_GETCHARFORMAT / EM_SETCHARFORMAT for the default format, the selection (or the insertion
// point) and the word at the selection. A format read is the default format with the text's
// own attributes over it; over a mixed selection the mask drops what is not uniform.

#include <QApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <vector>

#include "platform/richedit/CharFormatMapping.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

namespace {

struct Run {
  int start;
  int end;
  QTextCharFormat format;
};

// The runs of equal formatting that overlap [from, to), clipped to it. A paragraph mark in the
// range is a run of its own: it has the format it was given where the paragraph ended (the
// document keeps it as the next paragraph's block character format).
std::vector<Run> runsIn(const QTextDocument& doc, int from, int to) {
  std::vector<Run> runs;
  for (QTextBlock b = doc.findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const int s = std::max(f.position(), from);
      const int e = std::min(f.position() + f.length(), to);
      if (f.position() >= to) break;
      if (e > s) runs.push_back({s, e, f.charFormat()});
    }
    const int mark = b.position() + b.length() - 1;
    const QTextBlock next = b.next();
    if (mark >= from && mark < to && next.isValid() &&
        doc.characterAt(mark) == QChar::ParagraphSeparator) {
      runs.push_back({mark, mark + 1, next.charFormat()});
    }
  }
  return runs;
}

// The word holding the caret, or an empty range when the caret is not in a word.
std::pair<int, int> wordAt(const QTextCursor& caret) {
  QTextCursor w = caret;
  w.clearSelection();
  w.select(QTextCursor::WordUnderCursor);
  const QString word = w.selectedText();
  if (word.isEmpty() || !word.at(0).isLetterOrNumber()) return {caret.position(), caret.position()};
  return {w.selectionStart(), w.selectionEnd()};
}

}  // namespace

LRESULT RichEditEngine::onGetCharFormat(WPARAM scope, LPARAM record) {
  CHARFORMAT2A r{};
  bool large = false;
  if (!readCharRecord(record, r, large)) return 0;
  const DWORD all = large ? CFM_ALL2 : CFM_ALL;
  const UINT size = r.cbSize;
  QTextCharFormat at = defaultFormat_;
  DWORD mask = all;
  if (scope != SCF_DEFAULT) {
    const QTextCursor c = cursor();
    auto [from, to] = std::pair<int, int>{c.selectionStart(), c.selectionEnd()};
    if ((scope & SCF_WORD) && from == to) std::tie(from, to) = wordAt(c);
    const std::vector<Run> runs = from < to ? runsIn(*doc_, from, to) : std::vector<Run>{};
    if (runs.empty()) {
      at.merge(c.charFormat());
    } else {
      at.merge(runs.front().format);
      for (std::size_t i = 1; i < runs.size(); ++i) {
        QTextCharFormat other = defaultFormat_;
        other.merge(runs[i].format);
        mask &= ~charFormatDifferences(at, other);
      }
    }
  }
  charFormatToRecord(at, r);
  if (scope != SCF_DEFAULT) {
    // A detected address is a link while it stays one: it reads as CFE_LINK.
    const QTextCursor c = cursor();
    const int from = c.selectionStart();
    const int to = c.selectionEnd();
    const LinkCover cover =
        from < to ? detectedLinkCover(from, to) : detectedLinkCover(std::max(from - 1, 0), from);
    if (cover == LinkCover::All) r.dwEffects |= CFE_LINK;
    if (cover == LinkCover::Some) mask &= ~CFM_LINK;
  }
  r.cbSize = size;
  r.dwMask = mask;
  writeCharRecord(r, large, record);
  return mask;
}

void RichEditEngine::setDefaultCharFormat(const QTextCharFormat& format) {
  defaultFormat_ = format;
  QFont font = doc_->defaultFont();
  font = format.font().resolve(font);
  doc_->setDefaultFont(font);
  QPalette pal = view_.palette();
  const QColor text = format.hasProperty(QTextFormat::ForegroundBrush)
                          ? format.foreground().color()
                          : QApplication::palette().color(QPalette::Text);
  pal.setColor(QPalette::Text, text);
  view_.setPalette(pal);
  lines_.invalidateAll();
}

LRESULT RichEditEngine::onSetCharFormat(WPARAM scope, LPARAM record) {
  CHARFORMAT2A r{};
  bool large = false;
  if (!readCharRecord(record, r, large)) return 0;
  undo_.stopTyping();  // text typed in a new format is a new step
  if (scope == SCF_DEFAULT || plainTextMode()) {
    QTextCharFormat f = defaultFormat_;
    applyCharRecord(r, large, f);
    setDefaultCharFormat(f);
    if (scope == SCF_DEFAULT) return 1;
  }
  QTextCursor c = cursor();
  int from = c.selectionStart();
  int to = c.selectionEnd();
  if ((scope & SCF_ALL) || plainTextMode()) {
    from = 0;
    to = textLength();
  } else if ((scope & SCF_WORD) && from == to) {
    std::tie(from, to) = wordAt(c);
  }
  if (from == to) {
    // The insertion point: the next text typed or inserted here takes this format.
    QTextCharFormat f = c.charFormat();
    applyCharRecord(r, large, f);
    c.setCharFormat(f);
    setCursor(c);
    return 1;
  }
  if ((r.dwMask & ~CFM_PROTECTED) != 0 && rangeProtected(from, to) &&
      !allowChange(from, to, EM_SETCHARFORMAT, scope, record)) {
    return 0;
  }
  const std::vector<Run> runs = runsIn(*doc_, from, to);
  QTextCursor edit(doc_);
  edit.beginEditBlock();
  for (const Run& run : runs) {
    QTextCharFormat f = run.format;
    applyCharRecord(r, large, f);
    edit.setPosition(run.start);
    edit.setPosition(run.end, QTextCursor::KeepAnchor);
    edit.setCharFormat(f);
  }
  edit.endEditBlock();
  return 1;
}

}  // namespace richedit
