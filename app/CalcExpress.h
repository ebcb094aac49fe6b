#pragma once
// Formula evaluator of pay items: parses an arithmetic formula into a tree
// once and evaluates it on demand, in extended precision.
#include "platform/rtl/Classes.h"
#include <memory>
#include <vector>

class TCalcExpress : public TComponent {
public:
  explicit TCalcExpress(TComponent* AOwner = nullptr);
  ~TCalcExpress() override;

  // The formula as last set, lower-cased. Setting it parses it; a formula
  // that does not parse shows "Error in formula." and leaves no tree.
  const String& Formula() const { return FFormula; }
  void SetFormula(const String& Value);
  // Sets and parses the formula as SetFormula does, but shows nothing; false when it does
  // not parse.
  bool ParseQuietly(const String& Value);

  // Names of the variables; a variable's value is taken from the same
  // position of the array given to Evaluate. Setting them parses again.
  TStrings* Variables() const { return FVariables.get(); }
  void SetVariables(TStrings* Value);

  // Raises EInvalidOperation when there is no parsed formula or a variable has
  // no value, and the math exceptions for numeric faults.
  Extended Evaluate(const std::vector<Extended>& Values = {}) const;

  struct TNode;
private:
  void Parse();

  String FFormula;
  std::unique_ptr<TStringList> FVariables;
  std::unique_ptr<TNode> FTree;
};
