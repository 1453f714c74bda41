#pragma once
// Character formatting of one attribute set of the editor (the selection, the default format
// or the word at the selection). Holds no formatting itself: every read asks the control and
// every write sends one record to it.

#include <string>

#include "framework/Font.h"
#include "framework/Persistent.h"

namespace richedit {
struct CHARFORMAT2A;
}

namespace kl {

class TKlCustomRichEdit;

enum class CharFormatKind { DefaultText, Selection, CaretWord };

class TKlTextAttributes : public TPersistent {
 public:
  TKlTextAttributes(TKlCustomRichEdit& owner, CharFormatKind kind);

  CharFormatKind Kind() const { return kind_; }

  std::string Name() const;
  void SetName(const std::string& name);
  int Size() const;  // points
  TFontStyles Style() const;
  void SetStyle(TFontStyles style);
  TColor Color() const;
  void SetColor(TColor color);
  TFontCharset Charset() const;
  void SetCharset(TFontCharset charset);
  TFontPitch Pitch() const;
  void SetPitch(TFontPitch pitch);

  // Writes every attribute of font in one record.
  void ApplyFont(const TFont& font);

  void Assign(const TFont& font) { ApplyFont(font); }
  void Assign(const TPersistent& source) override;
  void AssignTo(TFont& font) const;
  void AssignTo(TPersistent& dest) const override;
  const char* ClassName() const override { return "TKlTextAttributes"; }

 private:
  void InitFormat(richedit::CHARFORMAT2A& format) const;
  richedit::CHARFORMAT2A GetAttributes() const;
  void SetAttributes(richedit::CHARFORMAT2A& format);

  TKlCustomRichEdit& owner_;
  CharFormatKind kind_;
};

}  // namespace kl
