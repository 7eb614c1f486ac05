#include "platform/win32/print_job.h"

#include <cstdio>
#include <string>

#include "platform/print_geometry.h"

namespace tollwick {

namespace {

constexpr int kFontPoints = 10;

HFONT CreateJobFont(HDC dc) {
  LOGFONTA look{};
  look.lfHeight = -MulDiv(kFontPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
  look.lfWeight = FW_NORMAL;
  look.lfCharSet = ANSI_CHARSET;
  std::snprintf(look.lfFaceName, sizeof look.lfFaceName, "%s", "Arial");
  return CreateFontIndirectA(&look);
}

}  // namespace

PrintJob::PrintJob(ScopedDC printer, ScopedPrintDocument document)
    : printer_(std::move(printer)),
      document_(std::move(document)),
      font_(CreateJobFont(printer_.get())),
      selection_(printer_.get(), font_.get()) {}

std::string DefaultPrinterName() {
  char device[200] = "";
  GetProfileStringA("windows", "device", "", device, sizeof device);
  std::string name(device);
  return name.substr(0, name.find(','));
}

std::optional<PrintJob> OpenPrintJob(const char* documentName) {
  const std::string name = DefaultPrinterName();
  if (name.empty()) return std::nullopt;
  ScopedDC printer(CreateDCA(nullptr, name.c_str(), nullptr, nullptr));
  if (!printer) return std::nullopt;
  ScopedPrintDocument document(printer.get(), documentName);
  if (!document) return std::nullopt;
  StartPage(printer.get());
  return PrintJob(std::move(printer), std::move(document));
}

bool ClosePrintJob(PrintJob& job) {
  if (!job.printer_) return false;
  EndPage(job.printer_.get());
  const bool accepted = job.document_.Finish();
  { ScopedSelection undone(std::move(job.selection_)); }  // the DC's own font back before it goes
  job.printer_.reset();
  return accepted;
}

void NextPage(const PrintJob& job) {
  EndPage(job.dc());
  StartPage(job.dc());
}

int PrintableWidth(const PrintJob& job) {
  return GetDeviceCaps(job.dc(), HORZRES) - GetDeviceCaps(job.dc(), LOGPIXELSX);
}

int PrintableHeight(const PrintJob& job) {
  return GetDeviceCaps(job.dc(), VERTRES) - GetDeviceCaps(job.dc(), LOGPIXELSY);
}

int LeftMargin(const PrintJob& job) { return GetDeviceCaps(job.dc(), LOGPIXELSX) / 2; }

int TopMargin(const PrintJob& job) { return GetDeviceCaps(job.dc(), LOGPIXELSY) / 2; }

int LineHeight(const PrintJob& job) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(job.dc(), &metrics);
  return metrics.tmHeight;
}

int TextWidth(const PrintJob& job, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(job.dc(), text, static_cast<int>(std::char_traits<char>::length(text)),
                        &size);
  return size.cx;
}

void DrawRule(const PrintJob& job, int x1, int y1, int x2, int y2) {
  const int left = LeftMargin(job);
  const int top = TopMargin(job);
  MoveToEx(job.dc(), x1 + left, y1 + top, nullptr);
  LineTo(job.dc(), x2 + left, y2 + top);
}

void PrintTextAt(const PrintJob& job, int x, int y, const char* text) {
  TextOutA(job.dc(), x + LeftMargin(job), y + TopMargin(job), text,
           static_cast<int>(std::char_traits<char>::length(text)));
}

void PrintCentred(const PrintJob& job, int y, const std::string& text) {
  PrintTextAt(job, CentredX(PrintableWidth(job), TextWidth(job, text.c_str())), y, text.c_str());
}

}  // namespace tollwick
