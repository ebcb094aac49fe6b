#pragma once
// The components of a report template: a report holds pages, a page holds regions and the
// items printed on every page, a region holds data bands, and a data band holds the texts,
// data texts and rectangles printed once for each row of its data connection. Lengths are
// inches from the top left corner of the parent.
#include "platform/rtl/Types.h"
#include <memory>
#include <vector>

enum class TRaveKind { Report, Page, Region, DataBand, Text, DataText, Rectangle };

enum class TRaveAlignment { Left, Center, Right };

struct TRaveFont {
  String Name;
  Integer Size = 9;  // points
  bool Bold = false;
};

class TRaveComponent {
public:
  TRaveComponent(TRaveKind Kind, const String& Name) : FKind(Kind), FName(Name) {}
  virtual ~TRaveComponent() = default;
  TRaveComponent(const TRaveComponent&) = delete;
  TRaveComponent& operator=(const TRaveComponent&) = delete;

  TRaveKind Kind() const { return FKind; }
  const String& Name() const { return FName; }
  TRaveComponent* Parent() const { return FParent; }
  const std::vector<std::unique_ptr<TRaveComponent>>& Children() const { return FChildren; }
  TRaveComponent* Add(std::unique_ptr<TRaveComponent> Child);
  // The component called Name (without case) among the descendants, or nullptr.
  TRaveComponent* FindDescendant(const String& Name) const;

  double Left() const { return FLeft; }
  void SetLeft(double Value) { FLeft = Value; }
  double Top() const { return FTop; }
  void SetTop(double Value) { FTop = Value; }
  double Width() const { return FWidth; }
  void SetWidth(double Value) { FWidth = Value; }
  double Height() const { return FHeight; }
  void SetHeight(double Value) { FHeight = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }

private:
  TRaveKind FKind;
  String FName;
  TRaveComponent* FParent = nullptr;
  std::vector<std::unique_ptr<TRaveComponent>> FChildren;
  double FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
};

class TRaveReport : public TRaveComponent {
public:
  explicit TRaveReport(const String& Name) : TRaveComponent(TRaveKind::Report, Name) {}
};

class TRavePage : public TRaveComponent {
public:
  explicit TRavePage(const String& Name) : TRaveComponent(TRaveKind::Page, Name) {}
  double PageWidth() const { return Width(); }
  void SetPageWidth(double Value) { SetWidth(Value); }
  double PageHeight() const { return Height(); }
  void SetPageHeight(double Value) { SetHeight(Value); }
};

class TRaveRegion : public TRaveComponent {
public:
  explicit TRaveRegion(const String& Name) : TRaveComponent(TRaveKind::Region, Name) {}
};

// The name of the data connection a band walks or a data text reads when none is given.
extern const String DefaultDataView;

class TRaveDataBand : public TRaveComponent {
public:
  explicit TRaveDataBand(const String& Name) : TRaveComponent(TRaveKind::DataBand, Name) {}
  const String& DataView() const { return FDataView; }
  void SetDataView(const String& Value) { FDataView = Value; }
private:
  String FDataView = DefaultDataView;
};

// What texts and data texts share: a font and the alignment of the text in the width.
class TRaveTextItem : public TRaveComponent {
public:
  using TRaveComponent::TRaveComponent;
  TRaveFont& Font() { return FFont; }
  const TRaveFont& Font() const { return FFont; }
  TRaveAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TRaveAlignment Value) { FAlignment = Value; }
private:
  TRaveFont FFont;
  TRaveAlignment FAlignment = TRaveAlignment::Left;
};

class TRaveText : public TRaveTextItem {
public:
  explicit TRaveText(const String& Name) : TRaveTextItem(TRaveKind::Text, Name) {}
  const String& Text() const { return FText; }
  void SetText(const String& Value) { FText = Value; }
private:
  String FText;
};

class TRaveDataText : public TRaveTextItem {
public:
  explicit TRaveDataText(const String& Name) : TRaveTextItem(TRaveKind::DataText, Name) {}
  // A blank field name prints nothing.
  const String& DataField() const { return FDataField; }
  void SetDataField(const String& Value) { FDataField = Value; }
  const String& DataView() const { return FDataView; }
  void SetDataView(const String& Value) { FDataView = Value; }
private:
  String FDataField;
  String FDataView = DefaultDataView;
};

class TRaveRectangle : public TRaveComponent {
public:
  explicit TRaveRectangle(const String& Name) : TRaveComponent(TRaveKind::Rectangle, Name) {}
};
