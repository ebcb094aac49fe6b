#pragma once
// The calculation of one pay record: formula items, income tax, the three
// totals, part-month proration and the attendance product. It works on a
// model of the record editor's slots (caption and box text per slot), so the
// editor only binds its boxes to it.
#include "app/CalcExpress.h"
#include "app/TaxBrackets.h"
#include <array>
#include <map>
#include <memory>
#include <utility>
#include <vector>

enum TSlotGroup { sgEarnings, sgDeductions };

// One pay item of a month, in display order.
struct TPayItem {
  String GZName;    // caption, also the name formulas refer to
  String GZField1;  // pay-record column that holds the value
  String CalcStr;   // formula; blank when none
};

// One labelled amount box of the editor. Slots without an item are hidden and empty.
struct TPaySlot {
  String Caption;
  String Text;
  bool Visible = false;

  // The number the box holds (blanks ignored, empty is 0); raises
  // EConvertError for a text that is not a number.
  Extended Value() const;
  // That number with two decimals, as formulas read it.
  const String& TwoDecimalText() const;

private:
  friend class TPayRecordCalc;
  // The number TwoDecimalText reads back as.
  Extended TwoDecimalValue() const;
  // Shows an amount with two decimals and keeps its number beside the text, so that it is
  // not read back; raises EOverflow for an amount beyond the range.
  void SetAmount(Extended Amount);

  // What was last read from Text: a record's calculation reads each box many
  // times, and the conversions are its main cost.
  mutable String FReadText;
  mutable bool FRead = false;
  mutable Extended FValue = 0;
  mutable String FTwoDecimalText;
  mutable bool FHasTwoDecimalValue = false;
  mutable Extended FTwoDecimalValue = 0;
};

// The message the proration dialog shows for its two inputs, empty when they are fine.
String ProrationParamsError(Extended DaysToWork, Extended DaysWorked);

class TPayRecordCalc {
public:
  static constexpr Integer EarningsSlotCount = 30;
  static constexpr Integer DeductionSlotCount = 15;
  // The formula that stands for the automatic income tax.
  static const String TaxMarker;

  // The group's items in display order; item k owns slot k, items beyond the
  // slots have none. Slot captions follow and every slot is emptied.
  void SetItems(TSlotGroup Group, std::vector<TPayItem> Items);
  const std::vector<TPayItem>& Items(TSlotGroup Group) const;
  Integer SlotCount(TSlotGroup Group) const;
  TPaySlot& Slot(TSlotGroup Group, Integer Index);
  const TPaySlot& Slot(TSlotGroup Group, Integer Index) const;

  // The visible slot whose caption is Caption, earnings before deductions; nullptr when none.
  TPaySlot* FindEditCtrlByName(const String& Caption);

  // Attendance boxes: days (or pieces), hours and the pay standard.
  String DaysText, HoursText, PayStandardText;
  // Total boxes, written by AutoCalc in the amount format.
  String YFTotalText, KKTotalText, GZTotalText;
  // Brackets of the tax item, in bracket order (ReadTaxBrackets when the record is loaded).
  std::vector<TTaxBracket> TaxBrackets;

  // Value of one formula; a formula error is shown and gives 0. A slot text
  // that is not a number raises EConvertError.
  Extended GetCalcValue(const String& Formula);
  // Income tax of the record from its visible boxes.
  Extended GetGS() const;
  // Evaluates every formula item once, earnings first, in display order;
  // then recomputes the totals.
  void ReCalcAll();
  // Recomputes the three total boxes; a box that is not a number leaves them as they were.
  void AutoCalc();
  // Scales every visible earnings box by DaysWorked / DaysToWork, then
  // AutoCalc; days the proration dialog refuses raise EInvalidOperation.
  void Prorate(Extended DaysToWork, Extended DaysWorked);
  // First earnings box := attendance (hours in hour-rate mode, else days) x pay standard; then ReCalcAll.
  void AttendanceProduct();

private:
  // A formula parsed once for the current slot captions, with the captions it names as
  // variables; without an evaluator it is evaluated as text with the values pasted in.
  struct TFormula {
    std::unique_ptr<TCalcExpress> Express;
    std::vector<const TPaySlot*> Inputs;  // per variable; nullptr where no slot bears the caption
    std::vector<Extended> Values;
  };
  // A formula item of a group with the slot it fills.
  struct TFormulaItem {
    const TPayItem* Item;
    TPaySlot* Slot;
    TFormula* Formula;  // nullptr for the income tax
  };

  String EvaluationText(const String& Formula);
  TFormula& Parsed(const String& Formula);
  Extended CalcValue(const String& Formula, TFormula& Parsed);
  void ShowCalcError(const String& Text, const String& Formula, const Exception& E);
  // Parsed formulas and formula items follow the slots' captions and visibility.
  void FollowLayout();
  void CalcGroup(TSlotGroup Group);

  std::array<TPaySlot, EarningsSlotCount> FEarnings;
  std::array<TPaySlot, DeductionSlotCount> FDeductions;
  std::vector<TPayItem> FEarningItems, FDeductionItems;
  TCalcExpress FCalcExpress;
  std::map<String, TFormula> FFormulas;
  std::vector<std::pair<bool, String>> FLayout;
  std::array<std::vector<TFormulaItem>, 2> FFormulaItems;
};
