#pragma once
// The report project: a template file loaded into memory, whose components the program
// finds by name and changes before it runs the report; the engine that asks where the
// report goes, shows its status and preview, and prints; and the data connections that
// hand the report its data sets by name. Changes touch the loaded copy only: template
// files are never written.
#include "platform/print/Printers.h"
#include "platform/report/RaveTemplate.h"
#include "platform/report/ReportWindows.h"
#include "platform/rtl/Classes.h"

class TDataSet;

// A data set under the name templates use for it ("RvDataSetConnection1").
class TRvDataSetConnection : public TComponent {
public:
  explicit TRvDataSetConnection(TComponent* AOwner) : TComponent(AOwner) {}
  String ClassName() const override { return QStringLiteral("TRvDataSetConnection"); }
  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value) { FDataSet = Value; }
private:
  TDataSet* FDataSet = nullptr;
};

// The printer settings the engine prints with.
struct TRvSystemPrinter {
  TPrinterOrientation Orientation = poPortrait;
  String Title = QStringLiteral("ReportPrinter Report");
};

class TRvSystem : public TComponent {
public:
  explicit TRvSystem(TComponent* AOwner);
  ~TRvSystem() override;
  String ClassName() const override { return QStringLiteral("TRvSystem"); }

  String TitleSetup = QStringLiteral("打印设置");
  String TitleStatus = QStringLiteral("状态");
  String TitlePreview = QStringLiteral("打印预览");
  // "%p" is the page number.
  String StatusFormatFile = QStringLiteral("Generating page %p");
  String StatusFormatPrinter = QStringLiteral("Printing page %p");
  // Where the setup dialog starts, and the PDF file it proposes.
  TReportDestination DefaultDestination = rdPreview;
  String OutputFileName;

  TRvSystemPrinter& SystemPrinter() { return FSystemPrinter; }

  // Asks where the report goes, then makes the pages through Generate (told each page as it
  // is begun) and shows them in the preview, prints them on the program's printer or writes
  // them to the PDF file chosen. False when the user cancelled the setup dialog. The status
  // window shows while pages are made and printed; failures propagate.
  bool Execute(const std::function<TRecordedPages(const std::function<void(Integer)>& PageStarted)>& Generate);

  // The windows, made on first use; the preview stays open after Execute returns.
  TRvStatusForm* StatusForm();
  TRvPreviewForm* PreviewForm();

private:
  TRvSystemPrinter FSystemPrinter;
  TRvStatusForm* FStatusForm = nullptr;
  TRvPreviewForm* FPreviewForm = nullptr;
};

class TRvProject;

// Finds the loaded project's components by name.
class TRvProjectManager {
public:
  explicit TRvProjectManager(const TRvProject* Project) : FProject(Project) {}
  // Without a root, "Report.Page" names a page; under a root, a plain name names a component
  // inside it. Anything else finds nothing (nullptr), as does a project that is not loaded.
  TRaveComponent* FindRaveComponent(const String& Name, TRaveComponent* Root) const;
private:
  const TRvProject* FProject;
};

class TRvProject : public TComponent {
public:
  explicit TRvProject(TComponent* AOwner);
  ~TRvProject() override;
  String ClassName() const override { return QStringLiteral("TRvProject"); }

  const String& ProjectFile() const { return FProjectFile; }
  void SetProjectFile(const String& Value) { FProjectFile = Value; }
  TRvSystem* Engine() const { return FEngine; }
  void SetEngine(TRvSystem* Value) { FEngine = Value; }
  // True loads the project file into memory (raising ERaveError, naming the file, when it is
  // missing or unreadable; the project then stays closed); false drops the loaded copy.
  bool Active() const { return !FReports.empty(); }
  void SetActive(bool Value);
  TRvProjectManager* ProjectManager() { return &FManager; }
  const std::vector<std::unique_ptr<TRaveReport>>& Reports() const { return FReports; }

  // Runs the first report of the project, loading it first when needed, through the engine:
  // its pages in order over the data sets of the connections its bands and data texts name
  // (connections owned by this project's owner). False when the user cancelled.
  bool Execute();

private:
  TDataSet* ConnectionDataSet(const String& Name) const;
  String FProjectFile;
  TRvSystem* FEngine = nullptr;
  std::vector<std::unique_ptr<TRaveReport>> FReports;
  TRvProjectManager FManager{this};
};
