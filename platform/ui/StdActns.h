#pragma once
// The standard edit actions: cut, copy, paste, delete and select all. Each one serves the
// focused edit control itself; other controls (a grid) answer them through their own
// ExecuteAction and UpdateAction. Without anyone to serve them they are disabled.
#include "platform/ui/ActnList.h"

class TCustomEdit;

class TEditAction : public TAction {
public:
  using TAction::TAction;
  String ClassName() const override { return QStringLiteral("TEditAction"); }
  bool Update() override;
  // A focused edit control.
  bool HandlesTarget(TObject* Target) const override;
  void UpdateTarget(TObject* Target) override;
protected:
  static TCustomEdit* EditOf(TObject* Target);
  // Whether the action can do something on Edit now.
  virtual bool PossibleOn(TCustomEdit* Edit) const = 0;
};

class TEditCut : public TEditAction {
public:
  using TEditAction::TEditAction;
  String ClassName() const override { return QStringLiteral("TEditCut"); }
  void ExecuteTarget(TObject* Target) override;
protected:
  bool PossibleOn(TCustomEdit* Edit) const override;
};

class TEditCopy : public TEditAction {
public:
  using TEditAction::TEditAction;
  String ClassName() const override { return QStringLiteral("TEditCopy"); }
  void ExecuteTarget(TObject* Target) override;
protected:
  bool PossibleOn(TCustomEdit* Edit) const override;
};

class TEditPaste : public TEditAction {
public:
  using TEditAction::TEditAction;
  String ClassName() const override { return QStringLiteral("TEditPaste"); }
  void ExecuteTarget(TObject* Target) override;
protected:
  bool PossibleOn(TCustomEdit* Edit) const override;
};

class TEditDelete : public TEditAction {
public:
  using TEditAction::TEditAction;
  String ClassName() const override { return QStringLiteral("TEditDelete"); }
  void ExecuteTarget(TObject* Target) override;
protected:
  bool PossibleOn(TCustomEdit* Edit) const override;
};

class TEditSelectAll : public TEditAction {
public:
  using TEditAction::TEditAction;
  String ClassName() const override { return QStringLiteral("TEditSelectAll"); }
  void ExecuteTarget(TObject* Target) override;
protected:
  bool PossibleOn(TCustomEdit* Edit) const override;
};
