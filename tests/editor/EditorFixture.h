#pragma once
// A headless editor with a recording message hook, and a guard that runs a test under an older
// library version and puts the real one back.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "editor/KlRichEd.h"
#include "editor/KlRichEdit.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl::test {

struct SentMessage {
  std::uint32_t msg;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  richedit::CHARRANGE range{0, 0};  // the record of EM_EXSETSEL, read when it was sent
  richedit::PARAFORMAT2 para{};     // the record of EM_SETPARAFORMAT
  richedit::CHARFORMAT2A chars{};   // the record of EM_SETCHARFORMAT
};

class VersionGuard {
 public:
  explicit VersionGuard(int version) : old_(RichEditVersion()) {
    SetRichEditVersionForTesting(version);
  }
  ~VersionGuard() { SetRichEditVersionForTesting(old_); }

 private:
  int old_;
};

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : edit(std::make_unique<TKlRichEdit>()) {
    edit->resize(400, 300);
    edit->SetMessageHook([this](std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
      SentMessage sent{msg, w, l};
      if (msg == richedit::EM_EXSETSEL && l)
        sent.range = *reinterpret_cast<const richedit::CHARRANGE*>(l);
      if (msg == richedit::EM_SETPARAFORMAT && l)
        sent.para = *reinterpret_cast<const richedit::PARAFORMAT2*>(l);
      if (msg == richedit::EM_SETCHARFORMAT && l)
        sent.chars = *reinterpret_cast<const richedit::CHARFORMAT2A*>(l);
      this->sent.push_back(sent);
    });
  }

  std::vector<SentMessage> Sent(std::uint32_t msg) const {
    std::vector<SentMessage> out;
    std::copy_if(sent.begin(), sent.end(), std::back_inserter(out),
                 [msg](const SentMessage& s) { return s.msg == msg; });
    return out;
  }
  bool WasSent(std::uint32_t msg) const { return !Sent(msg).empty(); }

  // The whole text as positions see it: one CR per paragraph break.
  std::string AllText() { return edit->TextRange(0, -1); }
  // Sends a WM_NOTIFY record as the window would and answers what the component answered.
  template <typename Record>
  std::intptr_t Notify(Record& record, std::uint32_t code) {
    record.nmhdr.code = code;
    richedit::RichEditNotifySink& sink = *edit;
    return sink.onNotify(record.nmhdr);
  }

  std::unique_ptr<TKlRichEdit> edit;
  std::vector<SentMessage> sent;
};

}  // namespace kl::test
