#include "editor/RichEditStrings.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/Conversion.h"
#include "editor/KlCustomRichEdit.h"
#include "editor/KlRichEd.h"
#include "framework/Exception.h"
#include "framework/FileStream.h"
#include "framework/Stream.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl {

using namespace richedit;

namespace {

LPARAM AsLParam(const void* p) {
  return reinterpret_cast<LPARAM>(p);
}

constexpr WORD kLineBufferSize = 4096;

// What one load carries between the control's calls of the callback.
struct LoadCookie {
  TConversion* converter;
  TStream* stream;
  bool normalize;          // false for UTF-16 text, whose bytes are not single characters
  bool heldCR = false;     // a CR that ended the previous chunk
  std::vector<char> read;  // the bytes of one chunk
};

struct SaveCookie {
  TConversion* converter;
  TStream* stream;
};

// Feeds the control at most half its buffer per call, so that the chunk with every break
// turned into CR LF (a held-back CR included) always fits.
DWORD LoadCallback(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto& load = *reinterpret_cast<LoadCookie*>(cookie);
  *pcb = 0;
  try {
    if (!load.normalize) {
      const std::int64_t n = load.converter->ConvertReadStream(
          *load.stream, reinterpret_cast<char*>(buffer), std::max<LONG>(cb, 0));
      if (n < 0) return 1;
      *pcb = LONG(n);
      return 0;
    }
    const LONG half = cb / 2;
    LONG out = 0;
    auto put = [&](char c) { buffer[out++] = BYTE(c); };
    // A chunk that is nothing but a held-back CR delivers no bytes, which would end the load
    // early; read on until something can be delivered or the stream ends.
    while (out == 0) {
      const LONG want = half - (load.heldCR ? 1 : 0);
      if (want <= 0) return 1;
      load.read.resize(std::size_t(want));
      const std::int64_t n =
          load.converter->ConvertReadStream(*load.stream, load.read.data(), want);
      if (n < 0) return 1;
      bool pendingCR = std::exchange(load.heldCR, false);
      for (std::int64_t i = 0; i < n; ++i) {
        const char c = load.read[std::size_t(i)];
        if (pendingCR) {
          put('\r');
          put('\n');
          pendingCR = false;
          if (c == '\n') continue;  // the LF of a CR LF split between chunks
        }
        if (c == '\r') {
          pendingCR = true;
        } else if (c == '\n') {
          put('\r');
          put('\n');
        } else {
          put(c);
        }
      }
      if (pendingCR) {
        if (n > 0) {
          load.heldCR = true;  // it may be the first half of a CR LF
        } else {
          put('\r');  // the stream ended on a lone CR
          put('\n');
        }
      }
      if (n == 0) break;
    }
    *pcb = out;
    return 0;
  } catch (...) {
    return 1;
  }
}

DWORD SaveCallback(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto& save = *reinterpret_cast<SaveCookie*>(cookie);
  *pcb = 0;
  try {
    const std::int64_t n =
        save.converter->ConvertWriteStream(*save.stream, reinterpret_cast<const char*>(buffer), cb);
    if (n < 0) return 2;
    *pcb = LONG(n);
    // A short write (a full disk) is a failure too, or the file would silently lose its end.
    return n == cb ? 0 : 2;
  } catch (...) {
    return 2;
  }
}

// Positions that text takes in the control: UTF-16 units, a CR LF pair being one break.
int PositionLength(const std::string& text) {
  const QString s = QString::fromUtf8(text);
  int n = int(s.size());
  for (qsizetype i = 0; i + 1 < s.size(); ++i)
    if (s[i] == u'\r' && s[i + 1] == u'\n') --n;
  return n;
}

std::string Extension(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = fileName.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

}  // namespace

TRichEditStrings::TRichEditStrings() = default;
TRichEditStrings::~TRichEditStrings() = default;

TKlCustomRichEdit& TRichEditStrings::Owner() const {
  if (!owner_) throw Exception("The lines object has no editor");
  return *owner_;
}

void TRichEditStrings::ReplaceSelection(const std::string& text) const {
  TKlCustomRichEdit& owner = Owner();
  owner.SetLinesUpdating(true);
  try {
    owner.Perform(EM_REPLACESEL, 0, AsLParam(text.c_str()));
  } catch (...) {
    owner.SetLinesUpdating(false);
    throw;
  }
  owner.SetLinesUpdating(false);
}

// ---- Line access --------------------------------------------------------------------------

int TRichEditStrings::Count() const {
  TKlCustomRichEdit& owner = Owner();
  int count = int(owner.Perform(EM_GETLINECOUNT, 0, 0));
  if (count > 0 && owner.LineLength(owner.LineIndex(count - 1)) == 0) --count;
  return count;
}

std::string TRichEditStrings::Get(int index) const {
  TKlCustomRichEdit& owner = Owner();
  std::vector<char> buffer(kLineBufferSize, '\0');
  const WORD capacity = kLineBufferSize;
  std::memcpy(buffer.data(), &capacity, sizeof capacity);
  const LRESULT n =
      owner.Perform(EM_GETLINE, WPARAM(std::intptr_t(index)), AsLParam(buffer.data()));
  if (n <= 0) return {};
  std::string text(buffer.data(), std::size_t(n));
  if (std::size_t(n) + 4 > kLineBufferSize) {
    // The line did not fit the buffer: read it whole rather than hand back a cut line.
    const int start = owner.LineIndex(index);
    if (start >= 0) return owner.TextRange(start, start + owner.LineLength(start));
  }
  // The break is not part of the line, whichever form the control gives it in.
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
    text.resize(text.size() - 2);
  else if (!text.empty() && text.back() == '\r')
    text.pop_back();
  return text;
}

void TRichEditStrings::Put(int index, const std::string& s) {
  if (index < 0) return;
  TKlCustomRichEdit& owner = Owner();
  const int start = owner.LineIndex(index);
  if (start == -1) return;
  owner.SetSelection(start, start + owner.LineLength(start), ScrollCaret::No);
  ReplaceSelection(s);
}

void TRichEditStrings::Insert(int index, const std::string& s) {
  if (index < 0) return;
  TKlCustomRichEdit& owner = Owner();
  const bool v1 = RichEditVersion() == 1;
  const char* lineBreak = v1 ? "\r\n" : "\r";
  int start = owner.LineIndex(index);
  std::string text;
  if (start >= 0) {
    text = s + lineBreak;
  } else {
    start = owner.LineIndex(index - 1);
    if (start == -1) return;
    const int length = owner.LineLength(start);
    if (length == 0) return;
    start += length;
    text = lineBreak + s;
  }
  owner.SetSelection(start, start, ScrollCaret::No);
  ReplaceSelection(text);
  if (v1 && owner.SelectionStart() != start + PositionLength(text))
    throw Exception("RichEdit line insertion error");
}

void TRichEditStrings::Delete(int index) {
  if (index < 0) return;
  TKlCustomRichEdit& owner = Owner();
  const int start = owner.LineIndex(index);
  if (start == -1) return;
  int end = owner.LineIndex(index + 1);
  if (end == -1) end = start + owner.LineLength(start);
  owner.SetSelection(start, end, ScrollCaret::No);
  ReplaceSelection("");
}

void TRichEditStrings::Clear() {
  Owner().Clear();
}

void TRichEditStrings::SetText(const std::string& text) {
  SetChangeNotification(false);
  try {
    TStrings::SetText(text);
  } catch (...) {
    SetChangeNotification(true);
    throw;
  }
  SetChangeNotification(true);
}

void TRichEditStrings::AddStrings(const TStrings& strings) {
  TKlCustomRichEdit& owner = Owner();
  TNotifyEvent selectionChange = std::move(owner.OnSelectionChange);
  owner.OnSelectionChange = nullptr;
  try {
    TStrings::AddStrings(strings);
  } catch (...) {
    owner.OnSelectionChange = std::move(selectionChange);
    throw;
  }
  owner.OnSelectionChange = std::move(selectionChange);
}

void TRichEditStrings::SetUpdateState(bool updating) {
  TKlCustomRichEdit& owner = Owner();
  if (owner.isVisible()) owner.Perform(WM_SETREDRAW, updating ? 0 : 1, 0);
  if (!updating) owner.update();
}

void TRichEditStrings::SetChangeNotification(bool on) {
  TKlCustomRichEdit& owner = Owner();
  LPARAM mask = owner.Perform(EM_GETEVENTMASK, 0, 0);
  if (on)
    mask |= LPARAM(ENM_CHANGE);
  else
    mask &= ~LPARAM(ENM_CHANGE);
  owner.Perform(EM_SETEVENTMASK, 0, mask);
}

// ---- Streams ------------------------------------------------------------------------------

std::uintptr_t TRichEditStrings::StreamFlags(bool saving) const {
  WPARAM flags = SF_RTF;
  if (format_ == TRichStreamFormat::sfPlainText ||
      (format_ == TRichStreamFormat::sfDefault && Owner().PlainText()))
    flags = SF_TEXT;
  if (flags == SF_RTF) {
    if (saving && mode_.contains(TRichStreamMode::smNoObjects)) flags = SF_RTFNOOBJS;
    if (mode_.contains(TRichStreamMode::smPlainRtf)) flags |= SFF_PLAINRTF;
  } else if (mode_.contains(TRichStreamMode::smUnicode) && RichEditVersion() >= 2) {
    flags |= SF_UNICODE;
  }
  if (mode_.contains(TRichStreamMode::smSelection)) flags |= SFF_SELECTION;
  return flags;
}

TConversion& TRichEditStrings::ConverterFor(std::unique_ptr<TConversion>& temporary) const {
  if (converter_) return *converter_;
  const TConversionClass& make = Owner().DefaultConverter();
  temporary = make ? make() : MakeDefaultConversion();
  return *temporary;
}

void TRichEditStrings::LoadFromStream(TStream& stream) {
  TKlCustomRichEdit& owner = Owner();
  std::unique_ptr<TConversion> temporary;
  TConversion& converter = ConverterFor(temporary);
  const std::int64_t position = stream.Position();

  auto attempt = [&](WPARAM flags) {
    LoadCookie cookie{&converter, &stream, (flags & SF_UNICODE) == 0, false, {}};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&cookie), 0, &LoadCallback};
    owner.Perform(EM_STREAMIN, flags, AsLParam(&es));
    return es.dwError == 0;
  };
  const WPARAM flags = StreamFlags(false);
  if (!attempt(flags)) {
    stream.SetPosition(position);
    const WPARAM other = (flags & 0x03) == SF_RTF ? SF_TEXT : SF_RTF;
    if (!attempt(other)) throw Exception("Failed to Load Stream");
  }
  owner.SetSelection(0, 0, ScrollCaret::Yes);
}

void TRichEditStrings::SaveToStream(TStream& stream) {
  TKlCustomRichEdit& owner = Owner();
  std::unique_ptr<TConversion> temporary;
  SaveCookie cookie{&ConverterFor(temporary), &stream};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&cookie), 0, &SaveCallback};
  owner.Perform(EM_STREAMOUT, StreamFlags(true), AsLParam(&es));
  if (es.dwError != 0) throw Exception("Failed to Save Stream");
}

template <typename FileOperation>
void TRichEditStrings::WithFileFormat(const std::string& fileName, FileOperation&& operation) {
  const TRichConversionFormat* entry = FindConversionFormat(Extension(fileName));
  if (entry && !converter_ && entry->ConversionClass) converter_ = entry->ConversionClass();
  const TRichStreamFormat oldFormat = format_;
  if (entry)
    format_ = entry->PlainText ? TRichStreamFormat::sfPlainText : TRichStreamFormat::sfRichText;
  try {
    operation();
  } catch (...) {
    converter_.reset();
    format_ = oldFormat;
    throw;
  }
  format_ = oldFormat;
}

void TRichEditStrings::LoadFromFile(const std::string& fileName) {
  WithFileFormat(fileName, [&] {
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
  });
}

void TRichEditStrings::SaveToFile(const std::string& fileName) {
  WithFileFormat(fileName, [&] {
    // Written beside the target and renamed over it only once it is on the disk. A failure
    // of the file itself says why (a full disk, a disk that failed to flush).
    TFileStream file(fileName, TFileMode::fmCreate);
    try {
      SaveToStream(file);
      file.Commit();
    } catch (const Exception&) {
      if (file.Failure().empty()) throw;
      throw Exception("Failed to Save Stream. " + file.Failure());
    }
  });
}

}  // namespace kl
