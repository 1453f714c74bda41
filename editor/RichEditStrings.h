#pragma once
// The editor's Lines: the document as a list of display lines, and the only road by which
// whole documents enter and leave the control, as RTF or plain text, from streams and files.

#include <memory>
#include <string>

#include "editor/KlRichEdTypes.h"
#include "framework/Strings.h"

namespace kl {

class TKlCustomRichEdit;
class TConversion;

class TRichEditStrings : public TStrings {
 public:
  TRichEditStrings();
  ~TRichEditStrings() override;

  void SetOwner(TKlCustomRichEdit* owner) { owner_ = owner; }

  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Assigning the whole text raises no OnChange.
  void SetText(const std::string& text) override;
  // Adds every string with the owner's OnSelectionChange handler out of the way.
  void AddStrings(const TStrings& strings) override;

  // Raise kl::Exception "Failed to Load Stream" / "Failed to Save Stream".
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // The extensions "txt" and "rtf" choose plain text and RTF; others follow StreamFormat. A
  // save writes a temporary file beside the target and renames it over the old one.
  void LoadFromFile(const std::string& fileName) override;
  void SaveToFile(const std::string& fileName) override;

  void SetChangeNotification(bool on);

  TRichStreamFormat StreamFormat() const { return format_; }
  void SetStreamFormat(TRichStreamFormat format) { format_ = format; }
  TRichStreamModes StreamMode() const { return mode_; }
  void SetStreamMode(TRichStreamModes mode) { mode_ = mode; }

  const char* ClassName() const override { return "TRichEditStrings"; }

 protected:
  void SetUpdateState(bool updating) override;

 private:
  // Runs a file operation in the format the file's extension names (the converter it picks
  // stays; the stream format is put back), forgetting the converter when the operation fails.
  template <typename FileOperation>
  void WithFileFormat(const std::string& fileName, FileOperation&& operation);
  TKlCustomRichEdit& Owner() const;
  void ReplaceSelection(const std::string& text) const;
  std::uintptr_t StreamFlags(bool saving) const;
  TConversion& ConverterFor(std::unique_ptr<TConversion>& temporary) const;

  friend class TKlCustomRichEdit;  // keeps and restores the stream settings around its saves

  TKlCustomRichEdit* owner_ = nullptr;
  TRichStreamFormat format_ = TRichStreamFormat::sfDefault;
  TRichStreamModes mode_;
  std::unique_ptr<TConversion> converter_;
};

}  // namespace kl
