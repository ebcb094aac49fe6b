#pragma once
// File and folder choice of the dialog service, made as dialog-box forms of the layer (window
// class "#32770") so that whatever handles dialog boxes (the skin manager) handles them too.
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;

// A dialog box that stays above the window of a given control while it is shown.
class TChoiceForm : public TForm {
public:
  TChoiceForm();
  String ClassName() const override { return QStringLiteral("#32770"); }
  // The control whose window the box stays above; nullptr: the active window.
  void SetStayAbove(TWinControl* Value) { FStayAbove = Value; }

protected:
  void DoShow() override;

private:
  TWinControl* FStayAbove = nullptr;
};

// Opens or saves one file: the folder's subfolders and the files the chosen filter admits,
// a name field and the filter list.
class TFileForm : public TChoiceForm {
public:
  explicit TFileForm(const TFileDialogRequest& Request);

  String Folder() const { return FFolder; }
  // Lists Path (a folder) and makes it the current one.
  void SetFolder(const String& Path);
  // After OK: the chosen file's full path and the 1-based index of the filter in use.
  String FileName() const { return FFileName; }
  Integer FilterIndex() const;

  TEdit* FolderEdit() const { return FFolderEdit; }
  TListBox* Entries() const { return FEntries; }
  TEdit* FileNameEdit() const { return FFileNameEdit; }
  TComboBox* FilterBox() const { return FFilterBox; }
  TButton* OkButton() const { return FOkButton; }
  TButton* UpButton() const { return FUpButton; }

private:
  struct TFilter {
    String Description;
    QStringList Patterns;
  };
  void ListFolder();
  // The entry at Index: a subfolder (its name without the trailing '/') or a file name.
  bool EntryIsFolder(Integer Index) const;
  String EntryName(Integer Index) const;
  void EntryClicked();
  void EntryDoubleClicked();
  // OK: a folder typed or selected is opened, a pattern becomes the listing's filter, a file
  // name ends the dialog when it is acceptable for opening or saving.
  void OkClicked();
  bool AcceptFile(String Path);
  TFileDialogKind FKind;
  String FDefaultExt;
  String FFolder;
  String FFileName;
  std::vector<TFilter> FFilters;
  QStringList FTypedPatterns;  // a pattern typed into the name field, in place of the filter's
  TEdit* FFolderEdit;
  TListBox* FEntries;
  TEdit* FFileNameEdit;
  TComboBox* FFilterBox;
  TButton* FOkButton;
  TButton* FUpButton;
};

// Picks one folder below a root: the list shows the subfolders of the current folder, a
// click selects one, a double click opens it.
class TFolderForm : public TChoiceForm {
public:
  explicit TFolderForm(const TFolderRequest& Request);

  String Folder() const { return FFolder; }
  void SetFolder(const String& Path);
  // The folder OK returns: a folder typed into the path field, else the selected subfolder,
  // else the current folder.
  String Chosen() const;

  TEdit* PathEdit() const { return FPathEdit; }
  TListBox* Entries() const { return FEntries; }
  TButton* OkButton() const { return FOkButton; }
  TButton* UpButton() const { return FUpButton; }

private:
  bool AtRoot() const;
  String EntryPath(Integer Index) const;
  String ListChoice() const;
  bool AcceptTypedPath();
  String FRoot;
  String FFolder;
  String FTypedFolder;
  TEdit* FPathEdit;
  TListBox* FEntries;
  TButton* FOkButton;
  TButton* FUpButton;
};
