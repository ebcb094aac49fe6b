#include "platform/report/RvProject.h"
#include "platform/db/DB.h"
#include "platform/report/RaveRender.h"
#include "platform/rtl/ScopeGuards.h"

namespace {

String StatusText(const String& Format, Integer Page) {
  String text = Format;
  return text.replace(QStringLiteral("%p"), QString::number(Page));
}

}  // namespace

TRvSystem::TRvSystem(TComponent* AOwner) : TComponent(AOwner) {}

TRvSystem::~TRvSystem() = default;

TRvStatusForm* TRvSystem::StatusForm() {
  if (!FStatusForm) FStatusForm = new TRvStatusForm(this);
  FStatusForm->SetCaption(TitleStatus);
  return FStatusForm;
}

TRvPreviewForm* TRvSystem::PreviewForm() {
  if (!FPreviewForm) FPreviewForm = new TRvPreviewForm(this);
  FPreviewForm->SetCaption(TitlePreview);
  return FPreviewForm;
}

bool TRvSystem::Execute(const std::function<TRecordedPages(const std::function<void(Integer)>&)>& Generate) {
  TReportSetupRequest request;
  request.Title = TitleSetup;
  request.Destination = DefaultDestination;
  request.FileName = OutputFileName;
  if (!TReportSetupDialogs::Ask(request)) return false;

  TRvStatusForm* status = StatusForm();
  TScopeGuard hideStatus([status] { status->Hide(); });
  const String& generating = request.Destination == rdPrinter ? StatusFormatPrinter : StatusFormatFile;
  TRecordedPages pages = Generate([&](Integer Page) { status->ShowStatus(StatusText(generating, Page)); });

  switch (request.Destination) {
    case rdPreview: {
      TRvPreviewForm* preview = PreviewForm();
      preview->SetPages(std::move(pages), FSystemPrinter.Orientation, FSystemPrinter.Title);
      preview->Show();
      break;
    }
    case rdPrinter: {
      TPrinter* printer = Printer();
      printer->SetCopies(request.Copies);
      PrintRecordedPages(printer, pages, 1, Integer(pages.size()), FSystemPrinter.Title, FSystemPrinter.Orientation,
                         [&](Integer Page) { status->ShowStatus(StatusText(StatusFormatPrinter, Page)); });
      break;
    }
    case rdFile: {
      if (request.FileName.trimmed().isEmpty()) throw ERaveError(QStringLiteral("没有指定输出文件名"));
      TPrinter file;
      file.SetPrinterIndex(file.PdfPrinterIndex());
      file.SetFileName(request.FileName);
      PrintRecordedPages(&file, pages, 1, Integer(pages.size()), FSystemPrinter.Title, FSystemPrinter.Orientation,
                         [&](Integer Page) { status->ShowStatus(StatusText(StatusFormatFile, Page)); });
      break;
    }
  }
  return true;
}

TRaveComponent* TRvProjectManager::FindRaveComponent(const String& Name, TRaveComponent* Root) const {
  if (Root) return Name.contains(u'.') ? nullptr : Root->FindDescendant(Name);
  const QStringList parts = Name.split(u'.');
  if (parts.size() != 2) return nullptr;
  for (const auto& report : FProject->Reports()) {
    if (report->Name().compare(parts[0], Qt::CaseInsensitive) != 0) continue;
    for (const auto& page : report->Children())
      if (page->Name().compare(parts[1], Qt::CaseInsensitive) == 0) return page.get();
  }
  return nullptr;
}

TRvProject::TRvProject(TComponent* AOwner) : TComponent(AOwner) {}

TRvProject::~TRvProject() = default;

void TRvProject::SetActive(bool Value) {
  FReports.clear();
  if (Value) FReports = ReadRaveTemplate(FProjectFile);
}

TDataSet* TRvProject::ConnectionDataSet(const String& Name) const {
  TComponent* owner = Owner();
  if (!owner) return nullptr;
  auto* connection = dynamic_cast<TRvDataSetConnection*>(owner->FindComponent(Name));
  return connection ? connection->DataSet() : nullptr;
}

bool TRvProject::Execute() {
  if (!Active()) SetActive(true);
  if (!FEngine) throw ERaveError(QStringLiteral("报表项目没有打印引擎"));
  const TRaveReport& report = *FReports.front();
  return FEngine->Execute([&](const std::function<void(Integer)>& PageStarted) {
    TRecordedPages pages;
    for (const auto& page : report.Children()) {
      const Integer before = Integer(pages.size());
      TRecordedPages more = RenderRavePage(static_cast<const TRavePage&>(*page),
                                           [this](const String& Name) { return ConnectionDataSet(Name); },
                                           [&](Integer Page) { PageStarted(before + Page); });
      for (auto& recorded : more) pages.push_back(std::move(recorded));
    }
    return pages;
  });
}
