#include "platform/ui/FileDialogForms.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>
#include <algorithm>
#include <QDir>
#include <QFileInfo>
#include <QWindow>

namespace {
constexpr Integer Margin = 12, ButtonWidth = 75, ButtonHeight = 25, RowHeight = 23, LabelWidth = 84;

template <class T>
T* Place(TWinControl* Parent, Integer Left, Integer Top, Integer Width, Integer Height) {
  auto* control = new T(Parent);
  control->SetParent(Parent);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

TLabel* PlaceLabel(TWinControl* Parent, const char* Caption, Integer Left, Integer Top, Integer Width) {
  auto* label = Place<TLabel>(Parent, Left, Top + 4, Width, RowHeight - 4);
  label->SetCaption(QString::fromUtf8(Caption));
  return label;
}

TButton* PlaceButton(TWinControl* Parent, const char* Caption, Integer Left, Integer Top, Integer Width = ButtonWidth) {
  auto* button = Place<TButton>(Parent, Left, Top, Width, ButtonHeight);
  button->SetCaption(QString::fromUtf8(Caption));
  return button;
}

// Names listed for the user: folders carry a trailing '/'.
QStringList SortedNames(const QDir& Folder, QDir::Filters Kind, const QStringList& Patterns) {
  QDir dir(Folder);
  dir.setFilter(Kind | QDir::NoDotAndDotDot);
  dir.setNameFilters(Patterns);
  dir.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
  return dir.entryList();
}

String Shown(const String& Path) { return QDir::toNativeSeparators(Path); }

bool HasWildcard(const String& Text) { return Text.contains(u'*') || Text.contains(u'?'); }

// "*.*" admits every file, as it did where the filters come from.
QStringList PatternsOf(const String& Text) {
  QStringList patterns;
  for (const QString& part : Text.split(u';', Qt::SkipEmptyParts)) {
    const QString pattern = part.trimmed();
    if (!pattern.isEmpty()) patterns << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
  }
  return patterns;
}
}  // namespace

// ---- TChoiceForm

TChoiceForm::TChoiceForm() : TForm(nullptr) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
}

void TChoiceForm::DoShow() {
  QWidget* own = Handle();
  QWidget* above = FStayAbove && FStayAbove->HandleAllocated() ? FStayAbove->Handle()->window() : QApplication::activeWindow();
  if (above && above != own) {
    own->winId();
    if (QWindow* window = own->windowHandle(); window && above->windowHandle()) window->setTransientParent(above->windowHandle());
  }
  TForm::DoShow();
}

// ---- TFileForm

TFileForm::TFileForm(const TFileDialogRequest& Request) : FKind(Request.Kind), FDefaultExt(Request.DefaultExt) {
  SetCaption(!Request.Title.isEmpty() ? Request.Title : QString::fromUtf8(Request.Kind == fdSave ? "另存为" : "打开"));
  const Integer width = 460, fieldLeft = Margin + LabelWidth, okLeft = width - Margin - ButtonWidth;
  PlaceLabel(this, "查找范围(&I):", Margin, Margin, LabelWidth);
  FFolderEdit = Place<TEdit>(this, fieldLeft, Margin, okLeft - 8 - fieldLeft, RowHeight);
  FFolderEdit->SetReadOnly(true);
  FFolderEdit->SetTabStop(false);
  FUpButton = PlaceButton(this, "上一级", okLeft, Margin - 1);
  FUpButton->OnClick = [this](TObject*) { SetFolder(QFileInfo(FFolder).path()); };
  const Integer listTop = Margin + RowHeight + 8, listHeight = 200;
  FEntries = Place<TListBox>(this, Margin, listTop, width - 2 * Margin, listHeight);
  FEntries->OnClick = [this](TObject*) { EntryClicked(); };
  FEntries->OnDblClick = [this](TObject*) { EntryDoubleClicked(); };
  const Integer nameTop = listTop + listHeight + 10, typeTop = nameTop + RowHeight + 8;
  PlaceLabel(this, "文件名(&N):", Margin, nameTop, LabelWidth);
  FFileNameEdit = Place<TEdit>(this, fieldLeft, nameTop, okLeft - 8 - fieldLeft, RowHeight);
  PlaceLabel(this, "文件类型(&T):", Margin, typeTop, LabelWidth);
  FFilterBox = Place<TComboBox>(this, fieldLeft, typeTop, okLeft - 8 - fieldLeft, RowHeight);
  FFilterBox->SetStyle(csDropDownList);
  FOkButton = PlaceButton(this, FKind == fdSave ? "保存(&S)" : "打开(&O)", okLeft, nameTop - 1);
  FOkButton->SetDefault(true);
  FOkButton->OnClick = [this](TObject*) { OkClicked(); };
  TButton* cancel = PlaceButton(this, "取消", okLeft, typeTop - 1);
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  SetClientWidth(width);
  SetClientHeight(typeTop + RowHeight + Margin);

  const QStringList parts = Request.Filter.split(u'|');
  {
    const TUpdateLock<TStrings> bulk(FFilterBox->Items());
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
      FFilters.push_back({parts[i], PatternsOf(parts[i + 1])});
      FFilterBox->Items()->Add(parts[i]);
    }
    if (FFilters.empty()) {
      FFilters.push_back({QString::fromUtf8("所有文件 (*.*)"), {QStringLiteral("*")}});
      FFilterBox->Items()->Add(FFilters.front().Description);
    }
  }
  FFilterBox->SetItemIndex(std::clamp(Request.FilterIndex - 1, 0, Integer(FFilters.size()) - 1));
  FFilterBox->OnChange = [this](TObject*) {
    FTypedPatterns.clear();
    ListFolder();
  };

  const QFileInfo proposed(Request.FileName);
  String folder = !Request.InitialDir.isEmpty() && QDir(Request.InitialDir).exists() ? Request.InitialDir : QDir::currentPath();
  if (!Request.FileName.isEmpty() && proposed.isAbsolute() && QDir(proposed.path()).exists()) folder = proposed.path();
  SetFolder(folder);
  FFileNameEdit->SetText(proposed.isAbsolute() ? proposed.fileName() : Request.FileName);
  FFileNameEdit->SetTabOrder(0);
}

Integer TFileForm::FilterIndex() const { return FFilterBox->ItemIndex() + 1; }

void TFileForm::SetFolder(const String& Path) {
  const QDir dir(Path);
  if (!dir.exists() || !dir.isReadable()) return;
  FFolder = QDir::cleanPath(dir.absolutePath());
  FFolderEdit->SetText(Shown(FFolder));
  FUpButton->SetEnabled(!dir.isRoot());
  ListFolder();
}

void TFileForm::ListFolder() {
  const QDir dir(FFolder);
  QStringList patterns = FTypedPatterns;
  const Integer filter = FFilterBox->ItemIndex();
  if (patterns.isEmpty() && filter >= 0 && filter < Integer(FFilters.size())) patterns = FFilters[size_t(filter)].Patterns;
  QStringList names;
  for (const QString& folder : SortedNames(dir, QDir::Dirs, {})) names << folder + u'/';
  names << SortedNames(dir, QDir::Files, patterns);
  FEntries->Items()->SetText(names.join(u'\n'));
}

bool TFileForm::EntryIsFolder(Integer Index) const {
  return Index >= 0 && Index < FEntries->Count() && FEntries->Items()->Strings(Index).endsWith(u'/');
}

String TFileForm::EntryName(Integer Index) const {
  String name = FEntries->Items()->Strings(Index);
  if (name.endsWith(u'/')) name.chop(1);
  return name;
}

void TFileForm::EntryClicked() {
  const Integer index = FEntries->ItemIndex();
  if (index >= 0 && !EntryIsFolder(index)) FFileNameEdit->SetText(EntryName(index));
}

void TFileForm::EntryDoubleClicked() {
  const Integer index = FEntries->ItemIndex();
  if (index < 0) return;
  if (EntryIsFolder(index)) {
    SetFolder(QDir(FFolder).filePath(EntryName(index)));
  } else {
    FFileNameEdit->SetText(EntryName(index));
    OkClicked();
  }
}

void TFileForm::OkClicked() {
  const Integer index = FEntries->ItemIndex();
  const String typed = FFileNameEdit->Text().trimmed();
  if (EntryIsFolder(index) && (typed.isEmpty() || FEntries->Focused())) {
    SetFolder(QDir(FFolder).filePath(EntryName(index)));
    return;
  }
  if (typed.isEmpty()) return;
  if (HasWildcard(typed)) {
    FTypedPatterns = PatternsOf(typed);
    ListFolder();
    return;
  }
  const String path = QDir::cleanPath(QDir(FFolder).filePath(typed));
  if (QFileInfo(path).isDir()) {
    SetFolder(path);
    FFileNameEdit->Clear();
    return;
  }
  if (AcceptFile(path)) SetModalResult(mrOk);
}

bool TFileForm::AcceptFile(String Path) {
  const bool bare = QFileInfo(Path).suffix().isEmpty() && !FDefaultExt.isEmpty();
  const String withExt = Path + u'.' + FDefaultExt;
  if (FKind == fdOpen) {
    if (!QFileInfo(Path).isFile() && bare && QFileInfo(withExt).isFile()) Path = withExt;
    if (!QFileInfo(Path).isFile()) {
      TDialogs::MessageBox(Shown(Path) + QString::fromUtf8("\n找不到文件。\n请检查文件名是否正确，然后再试一次。"), Caption(),
                           MB_OK | MB_ICONWARNING);
      return false;
    }
  } else {
    if (bare) Path = withExt;
    if (!QFileInfo(QFileInfo(Path).path()).isDir()) {
      TDialogs::MessageBox(Shown(QFileInfo(Path).path()) + QString::fromUtf8("\n路径不存在。\n请检查路径是否正确，然后再试一次。"),
                           Caption(), MB_OK | MB_ICONWARNING);
      return false;
    }
    if (QFileInfo(Path).isDir()) return false;
    if (QFileInfo::exists(Path) &&
        TDialogs::MessageBox(Shown(Path) + QString::fromUtf8(" 已存在。\n要替换它吗？"), Caption(),
                             MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
      return false;
  }
  FFileName = Path;
  return true;
}

// ---- TFolderForm

TFolderForm::TFolderForm(const TFolderRequest& Request) {
  SetCaption(QString::fromUtf8("浏览文件夹"));
  const Integer width = 360, upLeft = width - Margin - 64;
  auto* title = Place<TLabel>(this, Margin, Margin, width - 2 * Margin, 18);
  title->SetCaption(Request.Caption);
  const Integer pathTop = Margin + 24;
  FPathEdit = Place<TEdit>(this, Margin, pathTop, upLeft - 8 - Margin, RowHeight);
  FUpButton = PlaceButton(this, "上一级", upLeft, pathTop - 1, 64);
  FUpButton->OnClick = [this](TObject*) {
    if (!AtRoot()) SetFolder(QFileInfo(FFolder).path());
  };
  const Integer listTop = pathTop + RowHeight + 8, listHeight = 220, buttonsTop = listTop + listHeight + 10;
  FEntries = Place<TListBox>(this, Margin, listTop, width - 2 * Margin, listHeight);
  FEntries->OnClick = [this](TObject*) { FPathEdit->SetText(Shown(ListChoice())); };
  FEntries->OnDblClick = [this](TObject*) {
    if (FEntries->ItemIndex() >= 0) SetFolder(EntryPath(FEntries->ItemIndex()));
  };
  FOkButton = PlaceButton(this, "确定", width - Margin - 2 * ButtonWidth - 6, buttonsTop);
  FOkButton->SetDefault(true);
  FOkButton->OnClick = [this](TObject*) {
    if (AcceptTypedPath()) SetModalResult(mrOk);
  };
  TButton* cancel = PlaceButton(this, "取消", width - Margin - ButtonWidth, buttonsTop);
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  SetClientWidth(width);
  SetClientHeight(buttonsTop + ButtonHeight + Margin);
  SetStayAbove(Request.Owner);

  // An empty root stands for the whole file system.
  FRoot = QDir::cleanPath(QDir(Request.Root.isEmpty() ? QDir::rootPath() : Request.Root).absolutePath());
  const String proposed = Request.Directory.isEmpty() ? String() : QDir::cleanPath(QDir(Request.Directory).absolutePath());
  const bool insideRoot = FRoot == QDir::rootPath() || proposed == FRoot || proposed.startsWith(FRoot + u'/');
  if (!proposed.isEmpty() && insideRoot && QDir(proposed).exists()) SetFolder(proposed);
  else if (!Request.Root.isEmpty()) SetFolder(FRoot);
  else SetFolder(QDir::homePath());
  FEntries->SetTabOrder(0);
}

bool TFolderForm::AtRoot() const { return FFolder == FRoot || QDir(FFolder).isRoot(); }

String TFolderForm::EntryPath(Integer Index) const { return QDir(FFolder).filePath(FEntries->Items()->Strings(Index)); }

String TFolderForm::ListChoice() const {
  const Integer index = FEntries->ItemIndex();
  return index >= 0 && index < FEntries->Count() ? EntryPath(index) : FFolder;
}

String TFolderForm::Chosen() const { return FTypedFolder.isEmpty() ? ListChoice() : FTypedFolder; }

// A path typed into the field (absolute, or relative to the folder shown) is the answer when
// it names a folder inside the root; any other typed path is refused and the box stays open.
bool TFolderForm::AcceptTypedPath() {
  const String typed = FPathEdit->Text().trimmed();
  FTypedFolder.clear();
  if (typed.isEmpty() || typed == Shown(ListChoice())) return true;
  const String path = QDir::cleanPath(QDir(FFolder).filePath(QDir::fromNativeSeparators(typed)));
  const bool insideRoot = FRoot == QDir::rootPath() || path == FRoot || path.startsWith(FRoot + u'/');
  if (!insideRoot || !QFileInfo(path).isDir()) {
    TDialogs::MessageBox(Shown(path) + QString::fromUtf8("\n路径不存在。\n请检查路径是否正确，然后再试一次。"), Caption(),
                         MB_OK | MB_ICONWARNING);
    return false;
  }
  FTypedFolder = path;
  return true;
}

void TFolderForm::SetFolder(const String& Path) {
  const QDir dir(Path);
  if (!dir.exists() || !dir.isReadable()) return;
  FFolder = QDir::cleanPath(dir.absolutePath());
  FEntries->Items()->SetText(SortedNames(dir, QDir::Dirs, {}).join(u'\n'));
  FEntries->SetItemIndex(-1);
  FPathEdit->SetText(Shown(FFolder));
  FUpButton->SetEnabled(!AtRoot());
}
