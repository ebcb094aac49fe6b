#pragma once
// The find dialog: searches the data of the grid that opened it for a text, in one column or
// in all, upwards, downwards or from the top; it may stay open beside the grid.
#include "grid/DBCtrlsX.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TCustomDBGridX;
class TColumnsXList;

class TDBGridXFindDlg : public TForm {
public:
  explicit TDBGridXFindDlg(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TDBGridXFindDlg"); }

  TLabel* Label1;
  TDBComboBoxX* cbText;
  TLabel* Label2;
  TDBComboBoxX* cbFindIn;
  TLabel* cbMatchType;
  TDBComboBoxX* cbMatchinType;
  TLabel* Label3;
  TDBComboBoxX* cbFindDirection;
  TDBCheckBoxX* cbCharCase;
  TDBCheckBoxX* cbUseFormat;
  TLabel* Label4;
  TDBComboBoxX* dbcTreeFindRange;
  TButton* bFind;
  TButton* bCancel;

  // Makes the dialog serve Grid with Text to look for.
  void Prepare(TCustomDBGridX* Grid, const String& Text);
  TCustomDBGridX* Grid() const { return FGrid; }
  bool FirstTry() const { return FFirstTry; }
  // Searches for the next match; Ctrl held turns the direction round.
  void bFindClick(TObject* Sender);

private:
  void SettingsChanged() { FFirstTry = true; }
  void FormKeyDown(Word& Key, TShiftState Shift);
  TCustomDBGridX* FGrid = nullptr;
  Integer FDesignedHeight = 0;
  bool FFirstTry = true;
};

// The find hook's entry: opens the one find dialog for Grid.
void ShowFindDialog(TCustomDBGridX* Grid, const String& Text, const String& FieldName, TColumnsXList* Columns,
                    bool Modal);
// Installs ShowFindDialog as the grids' find hook; the grid unit's start-up calls it.
void InstallFindDialog();
