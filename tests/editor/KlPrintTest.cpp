// Printing through the application's printer object into PDF files: the twips rectangles, the
// page loop, and a printer that fails in the middle of a job.

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "editor/KlCustomRichEdit.h"
#include "framework/Exception.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/printer/Printer.h"
#include "tests/editor/EditorFixture.h"

namespace kl::test {
namespace {

using richedit::LONG;

// A printer of 600 pixels per inch whose printable area is 4800 x 6600 pixels (8 x 11 inches,
// no margins), printing into a PDF file; it counts new pages and can fail at one.
class CountingPrinter : public TPrinter {
 public:
  explicit CountingPrinter(const std::string& file) {
    Setup(PrintRequest{"", 1, file});
    Device().setResolution(600);
    Device().setPageSize(QPageSize(QSizeF(8, 11), QPageSize::Inch));
    Device().setPageMargins(QMarginsF(0, 0, 0, 0));
  }
  void NewPage() override {
    ++newPages;
    if (failAtPage == newPages) throw Exception("The printer ran out of paper");
    TPrinter::NewPage();
  }
  int newPages = 0;
  int failAtPage = 0;
};

class PrintTest : public EditorTest {
 protected:
  PrintTest() {
    auto printer = std::make_unique<CountingPrinter>(PdfPath());
    printer_ = printer.get();
    SetPrinter(std::move(printer));
    edit->SetMessageHook([this](std::uint32_t msg, std::uintptr_t w, std::intptr_t l) {
      if (msg != richedit::EM_FORMATRANGE) return;
      if (l == 0) {
        ranges.push_back("free");
        return;
      }
      const auto* f = reinterpret_cast<const richedit::FORMATRANGE*>(l);
      rects.push_back(f->rc);
      pageRects.push_back(f->rcPage);
      ranges.push_back(std::to_string(w) + " from " + std::to_string(f->chrg.cpMin));
    });
  }
  ~PrintTest() override { SetPrinter(nullptr); }

  std::string PdfPath() const { return dir_.filePath("entry.pdf").toStdString(); }
  int PdfPages() const {
    QFile pdf(QString::fromStdString(PdfPath()));
    return pdf.open(QIODevice::ReadOnly) ? int(pdf.readAll().count("/Type /Page\n")) : -1;
  }
  static std::vector<LONG> Twips(const richedit::RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
  }
  QTemporaryDir dir_;
  CountingPrinter* printer_ = nullptr;
  std::vector<richedit::RECT> rects;
  std::vector<richedit::RECT> pageRects;
  std::vector<std::string> ranges;
};

TEST_F(PrintTest, ThePageRectangleIsThePrintableAreaOrTheChosenRectangleInTwips) {
  edit->SetText("Sit");
  edit->PrintDocument("Sit");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(Twips(rects[0]), (std::vector<LONG>{0, 0, 11520, 15840}));
  EXPECT_EQ(Twips(pageRects[0]), (std::vector<LONG>{0, 0, 11520, 15840}));
  rects.clear();
  pageRects.clear();
  edit->SetPrintPageRect(TRect{300, 300, 4500, 6300});
  edit->PrintDocument("Sit");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(Twips(rects[0]), (std::vector<LONG>{720, 720, 10800, 15120}));
  EXPECT_EQ(Twips(pageRects[0]), (std::vector<LONG>{720, 720, 10800, 15120}));
}

TEST_F(PrintTest, EachPageFollowsTheLastAndTheLayoutIsFreedBeforeAndAfter) {
  edit->SetText("heel\rsit\rdown");
  // A rectangle lower than one line: each page takes one line and moves on.
  edit->SetPrintPageRect(TRect{0, 0, 4800, 10});
  edit->PrintDocument("Three");
  EXPECT_EQ(ranges, (std::vector<std::string>{"free", "1 from 0", "1 from 5", "1 from 9", "free"}));
  EXPECT_EQ(printer_->newPages, 2);
  EXPECT_EQ(PdfPages(), 3);
  EXPECT_FALSE(Printer().Printing());
}

TEST_F(PrintTest, AnEmptyEntryPrintsOneEmptyPage) {
  edit->SetText("");
  edit->PrintDocument("Untitled");
  EXPECT_EQ(printer_->newPages, 0);
  EXPECT_EQ(PdfPages(), 1);
}

TEST_F(PrintTest, OneLongWordPrintsAndEnds) {
  edit->SetText(std::string(50000, 'w'));
  edit->PrintDocument("Word");
  EXPECT_GT(PdfPages(), 1);
  EXPECT_EQ(printer_->newPages, PdfPages() - 1);
}

TEST_F(PrintTest, APrinterFailingMidJobGivesTheJobUpAndTheNextPrintWorks) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Line of training notes\r";
  edit->SetText(text);
  edit->SetModified(true);
  printer_->failAtPage = 1;
  try {
    edit->PrintDocument("Notes");
    ADD_FAILURE() << "the failure did not reach the caller";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "The printer ran out of paper");
  }
  EXPECT_FALSE(Printer().Printing());
  EXPECT_EQ(ranges.back(), "free");
  EXPECT_EQ(AllText(), text);
  EXPECT_TRUE(edit->Modified());
  printer_->failAtPage = 0;
  printer_->newPages = 0;
  edit->PrintDocument("Notes");
  EXPECT_GT(printer_->newPages, 0);
  EXPECT_EQ(PdfPages(), printer_->newPages + 1);
}

}  // namespace
}  // namespace kl::test
