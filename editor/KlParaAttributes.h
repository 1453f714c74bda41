#pragma once
// Paragraph formatting of the paragraphs the selection touches. Holds no formatting itself:
// every read asks the control and every write sends one record to it.

#include <cstdint>

#include "framework/Persistent.h"

namespace richedit {
struct PARAFORMAT2;
}

namespace kl {

class TKlCustomRichEdit;

enum class ParagraphAlignment { AlignLeft, AlignRight, AlignCenter, AlignJustify };

// 0 and 1 are named; higher values are the platform's numbering kinds (PFN_ARABIC...).
enum class NumberingStyle : std::uint16_t { NumberingNone = 0, NumberingBullet = 1 };

class TKlParaAttributes : public TPersistent {
 public:
  static constexpr int MaxTabStops = 32;

  explicit TKlParaAttributes(TKlCustomRichEdit& owner);

  ParagraphAlignment Alignment() const;
  void SetAlignment(ParagraphAlignment alignment);
  NumberingStyle Numbering() const;
  void SetNumbering(NumberingStyle numbering);
  int StartIndent() const;  // points
  void SetStartIndent(int points);
  int IndentOffset() const;
  void SetIndentOffset(int points);
  int RightIndent() const;
  void SetRightIndent(int points);
  // index 0 to 31; another index raises kl::Exception.
  int TabPosition(int index) const;
  void SetTabPosition(int index, int points);

  void Assign(const TPersistent& source) override;
  const char* ClassName() const override { return "TKlParaAttributes"; }

 private:
  void InitPara(richedit::PARAFORMAT2& para) const;
  richedit::PARAFORMAT2 GetAttributes() const;
  void SetAttributes(richedit::PARAFORMAT2& para);
  static void CheckTabIndex(int index);

  TKlCustomRichEdit& owner_;
  friend class TKlCustomRichEdit;  // the bidirectional-mode change writes through SetAttributes
};

}  // namespace kl
