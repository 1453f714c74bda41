// EM_STREAMIN / EM_STREAMOUT: the host's callback is called with the control's own buffer
// until it delivers nothing (in) or everything is written (out), or it answers an error.
// Reading RTF answers the characters put into the control, reading text the bytes read,
// writing the bytes the host took; dwError stays 0 on success.

#include <QTextDocument>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/TextConversion.h"
#include "platform/richedit/rtf/RtfReader.h"
#include "platform/richedit/rtf/RtfWriter.h"

namespace richedit {

namespace {

constexpr LONG kBufferSize = 4096;
constexpr DWORD kNotReadable = DWORD(-16);    // the data is not in the format asked for
constexpr DWORD kWriteStalled = 0x80004005u;  // the callback took no bytes and gave no error

bool isRtf(WPARAM format) {
  const WPARAM kind = format & 0x7;
  return kind == SF_RTF || kind == SF_RTFNOOBJS;
}

// The host writes straight into blocks of a megabyte, which are joined once at the end into
// one text of the exact length: a picture of 70 MB of hex is copied once more, not moved
// again each time a growing buffer doubles (with each move touching fresh pages).
bool readAll(EDITSTREAM& stream, QByteArray& out) {
  constexpr qsizetype kBlockSize = qsizetype(1) << 20;
  struct Block {
    std::unique_ptr<BYTE[]> bytes;
    qsizetype used = 0;
  };
  std::vector<Block> blocks;
  qsizetype total = 0;
  for (;;) {
    if (blocks.empty() || blocks.back().used + kBufferSize > kBlockSize)
      blocks.push_back({std::make_unique_for_overwrite<BYTE[]>(std::size_t(kBlockSize)), 0});
    Block& last = blocks.back();
    LONG got = 0;
    const DWORD answer =
        stream.pfnCallback(stream.dwCookie, last.bytes.get() + last.used, kBufferSize, &got);
    if (answer != 0) {
      stream.dwError = answer;
      return false;
    }
    if (got <= 0) break;
    got = std::min(got, kBufferSize);
    last.used += got;
    total += got;
  }
  out = QByteArray(total, Qt::Uninitialized);
  char* to = out.data();
  for (Block& block : blocks) {
    std::memcpy(to, block.bytes.get(), std::size_t(block.used));
    to += block.used;
    block.bytes.reset();  // so that the copy and the blocks are not all held at once
  }
  return true;
}

LONG writeAll(EDITSTREAM& stream, const QByteArray& data) {
  std::vector<BYTE> buffer(kBufferSize);
  qsizetype pos = 0;
  while (pos < data.size()) {
    const LONG n = LONG(std::min<qsizetype>(kBufferSize, data.size() - pos));
    std::memcpy(buffer.data(), data.constData() + pos, std::size_t(n));
    LONG written = 0;
    const DWORD answer = stream.pfnCallback(stream.dwCookie, buffer.data(), n, &written);
    if (answer != 0) {
      stream.dwError = answer;
      break;
    }
    if (written <= 0) {
      stream.dwError = kWriteStalled;
      break;
    }
    // A host that took less than it was offered ends the stream, as on the platform: offering
    // the rest again would write it twice for a host that kept more than it said.
    if (written < n) break;
    pos += n;
  }
  return LONG(pos);
}

QString decodeStreamText(const QByteArray& data, WPARAM format) {
  if (!(format & SF_UNICODE)) return decodeText(data);
  QByteArrayView bytes(data);
  if (bytes.startsWith("\xFF\xFE")) bytes = bytes.sliced(2);
  QString text(bytes.size() / 2, Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    text[i] = QChar(char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                             (static_cast<unsigned char>(bytes[2 * i + 1]) << 8)));
  }
  return text;
}

bool looksLikeRtf(QByteArrayView data) {
  qsizetype i = 0;
  while (i < data.size() &&
         (data[i] == ' ' || data[i] == '\r' || data[i] == '\n' || data[i] == '\t'))
    ++i;
  return data.sliced(i).startsWith("{\\rtf");
}

}  // namespace

LRESULT RichEditEngine::onStreamIn(WPARAM format, LPARAM stream) {
  auto* es = reinterpret_cast<EDITSTREAM*>(stream);
  if (es == nullptr || es->pfnCallback == nullptr) return 0;
  es->dwError = 0;
  QByteArray data;
  // A stream that fails part-way leaves the document as it was.
  if (!readAll(*es, data)) return 0;
  const bool rtf = isRtf(format);
  const bool selectionOnly = (format & SFF_SELECTION) != 0;
  if (rtf) data.replace('\0', ' ');
  if (rtf && !looksLikeRtf(data)) {
    es->dwError = kNotReadable;
    if (!selectionOnly) resetDocument();
    return 0;
  }
  rtf::ReadOptions options;
  options.plainRtf = (format & SFF_PLAINRTF) != 0;
  options.allowObjects = (format & 0x7) != SF_RTFNOOBJS;
  options.keepFinalBreak = selectionOnly;
  auto load = [&](QTextCursor& at) {
    if (rtf) return rtf::RtfReader().read(data, at, options).ok;
    at.insertText(fromControlText(decodeStreamText(data, format)));
    return true;
  };

  if (selectionOnly) {
    QTextCursor c = cursor();
    if (!allowChange(c.selectionStart(), c.selectionEnd(), EM_STREAMIN, format, stream)) return 0;
    c.beginEditBlock();
    removeSelected(c);
    const int left = textLength();
    const bool ok = load(c);
    c.endEditBlock();
    setCursor(c);
    // What was inserted at the caret (a picture at the bottom of the view) must not leave the
    // caret out of sight.
    onScrollCaret();
    if (!ok) {
      es->dwError = kNotReadable;
      return 0;
    }
    return rtf ? textLength() - left : data.size();
  }

  // The whole text: built with notifications held, then one EN_CHANGE; not undoable.
  notifier_.holdChanges(true);
  resetDocument();
  bool ok = false;
  undo_.withoutUndo([&] {
    QTextCursor c(doc_);
    ok = load(c);
  });
  if (!ok) resetDocument();
  undo_.clear();
  notifier_.holdChanges(false);
  notifier_.textChanged();
  lines_.invalidateAll();
  setCursor(QTextCursor(doc_));
  if (!ok) {
    es->dwError = kNotReadable;
    return 0;
  }
  modified_ = true;
  return rtf ? textLength() : data.size();
}

LRESULT RichEditEngine::onStreamOut(WPARAM format, LPARAM stream) {
  auto* es = reinterpret_cast<EDITSTREAM*>(stream);
  if (es == nullptr || es->pfnCallback == nullptr) return 0;
  es->dwError = 0;
  int from = 0;
  int to = textLength();
  bool finalMark = true;
  if (format & SFF_SELECTION) {
    const QTextCursor c = cursor();
    from = c.selectionStart();
    to = c.selectionEnd();
    finalMark = selectionPastMark_;
  }
  QByteArray data;
  if (isRtf(format)) {
    rtf::WriteOptions options;
    options.finalMark = finalMark;
    options.plainRtf = (format & SFF_PLAINRTF) != 0;
    options.noObjects = (format & 0x7) == SF_RTFNOOBJS;
    data = rtf::RtfWriter().write(*doc_, from, to, options);
  } else {
    QString text = withCrLf(textOf(from, to));
    text.remove(QChar::ObjectReplacementCharacter);
    if (format & SF_UNICODE) {
      data.resize(text.size() * 2);
      for (qsizetype i = 0; i < text.size(); ++i) {
        data[2 * i] = char(text.at(i).unicode() & 0xFF);
        data[2 * i + 1] = char(text.at(i).unicode() >> 8);
      }
    } else {
      data = text.toUtf8();
    }
  }
  return writeAll(*es, data);
}

}  // namespace richedit
