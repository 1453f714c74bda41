// The printer object: a job into a PDF file, its device context and printable area, and the
// refusals that keep one job at a time.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "framework/Exception.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/printer/Printer.h"

namespace kl {
namespace {

TEST(PrinterTest, PrintsAJobIntoAPdfFileOneJobAtATime) {
  QTemporaryDir dir;
  const std::string file = dir.filePath("job.pdf").toStdString();
  TPrinter printer;
  printer.Setup(PrintRequest{"", 1, file});
  EXPECT_EQ(printer.Handle(), nullptr);
  printer.SetTitle("Recall");
  printer.BeginDoc();
  ASSERT_NE(printer.Handle(), nullptr);
  EXPECT_GT(gdi::GetDeviceCaps(printer.Handle(), gdi::LOGPIXELSX), 0);
  EXPECT_GT(printer.PageWidth(), 0);
  EXPECT_GT(printer.PageHeight(), printer.PageWidth());
  try {
    printer.BeginDoc();
    ADD_FAILURE() << "a second job began";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Printing in progress");
  }
  printer.NewPage();
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());
  QFile pdf(QString::fromStdString(file));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
}

TEST(PrinterTest, AnAbortedJobLeavesThePrinterReadyAndAFileThatCannotBeWrittenIsAnError) {
  QTemporaryDir dir;
  TPrinter printer;
  printer.Setup(PrintRequest{"", 1, dir.filePath("a.pdf").toStdString()});
  printer.BeginDoc();
  printer.Abort();
  EXPECT_FALSE(printer.Printing());
  printer.BeginDoc();
  printer.EndDoc();
  printer.Setup(PrintRequest{"", 1, dir.filePath("no/such/folder/b.pdf").toStdString()});
  EXPECT_THROW(printer.BeginDoc(), Exception);
  EXPECT_FALSE(printer.Printing());
}

}  // namespace
}  // namespace kl
