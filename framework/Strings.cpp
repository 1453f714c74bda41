#include "framework/Strings.h"

#include <vector>

#include "framework/FileStream.h"
#include "framework/MemoryStream.h"

namespace kl {

void TStrings::Put(int index, const std::string& s) {
  BeginUpdate();
  try {
    Delete(index);
    Insert(index, s);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::Add(const std::string& s) {
  const int index = Count();
  Insert(index, s);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) Add(strings.Get(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string::npos) {
        Add(text.substr(start));
        break;
      }
      Add(text.substr(start, end - start));
      if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
      start = end + 1;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& stream) {
  std::string text;
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    const std::int64_t n = stream.Read(chunk.data(), std::int64_t(chunk.size()));
    if (n <= 0) break;
    text.append(chunk.data(), std::size_t(n));
  }
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) {
  const std::string text = Text();
  stream.WriteBuffer(text.data(), std::int64_t(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, TFileMode::fmOpenRead);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) {
  TFileStream file(fileName, TFileMode::fmCreate);
  SaveToStream(file);
  file.Commit();
}

void TStrings::Assign(const TPersistent& source) {
  if (const auto* strings = dynamic_cast<const TStrings*>(&source)) {
    BeginUpdate();
    try {
      Clear();
      AddStrings(*strings);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace kl
