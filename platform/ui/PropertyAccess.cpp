#include "platform/ui/PropertyAccess.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Panels.h"
#include <map>
#include <optional>

namespace {

// One published property: how to read it as each kind it has, and how to set it.
struct TProperty {
  std::function<std::optional<Integer>(TObject*)> Ord;
  std::function<std::optional<String>(TObject*)> Enum;
  std::function<std::optional<String>(TObject*)> Text;
  std::function<TObject*(TObject*)> Object;
  std::function<bool(TObject*, const String&)> Set;  // false when the instance has no such property
};

template <class C, class V>
std::function<std::optional<V>(TObject*)> Read(std::function<V(C*)> Get) {
  return [Get](TObject* Instance) -> std::optional<V> {
    if (auto* c = dynamic_cast<C*>(Instance)) return Get(c);
    return std::nullopt;
  };
}

// Value names of an enumeration, in order.
template <class C, class E>
TProperty EnumProperty(std::function<E(C*)> Get, std::function<void(C*, E)> Put, std::vector<const char*> Names) {
  TProperty p;
  p.Enum = Read<C, String>([Get, Names](C* c) {
    const size_t i = size_t(Get(c));
    return i < Names.size() ? String::fromLatin1(Names[i]) : String();
  });
  p.Ord = Read<C, Integer>([Get](C* c) { return Integer(Get(c)); });
  p.Set = [Put, Names](TObject* Instance, const String& Text) {
    auto* c = dynamic_cast<C*>(Instance);
    if (!c) return false;
    for (size_t i = 0; i < Names.size(); ++i)
      if (Text.compare(QLatin1String(Names[i]), Qt::CaseInsensitive) == 0) Put(c, E(i));
    return true;
  };
  return p;
}

template <class C>
TProperty BoolProperty(std::function<bool(C*)> Get, std::function<void(C*, bool)> Put) {
  return EnumProperty<C, bool>(Get, Put, {"False", "True"});
}

template <class C>
TProperty IntProperty(std::function<Integer(C*)> Get, std::function<void(C*, Integer)> Put) {
  TProperty p;
  p.Ord = Read<C, Integer>(Get);
  p.Set = [Put](TObject* Instance, const String& Text) {
    auto* c = dynamic_cast<C*>(Instance);
    if (!c) return false;
    bool ok = false;
    const Integer value = Text.toInt(&ok);
    if (ok) Put(c, value);
    return true;
  };
  return p;
}

template <class C>
TProperty TextProperty(std::function<String(C*)> Get) {
  TProperty p;
  p.Text = Read<C, String>(Get);
  return p;
}

template <class C>
TProperty ObjectProperty(std::function<TObject*(C*)> Get) {
  TProperty p;
  p.Object = [Get](TObject* Instance) -> TObject* {
    auto* c = dynamic_cast<C*>(Instance);
    return c ? Get(c) : nullptr;
  };
  return p;
}

const std::vector<const char*> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<const char*> LayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

// Every class that publishes a name gets its own entry; the first that fits the instance wins.
const std::multimap<String, TProperty>& Properties() {
  static const std::multimap<String, TProperty> table = [] {
    std::multimap<String, TProperty> t;
    auto add = [&t](const char* Name, TProperty P) { t.emplace(String::fromLatin1(Name).toLower(), std::move(P)); };
    add("Caption", TextProperty<TControl>([](TControl* c) { return c->Caption(); }));
    add("Caption", TextProperty<TMenuItem>([](TMenuItem* c) { return c->Caption(); }));
    add("Text", TextProperty<TControl>([](TControl* c) { return c->Text(); }));
    add("SimpleText", TextProperty<TStatusBar>([](TStatusBar* c) { return c->SimpleText(); }));
    add("Font", ObjectProperty<TControl>([](TControl* c) -> TObject* { return c->Font(); }));
    add("Glyph", ObjectProperty<TBitBtn>([](TBitBtn* c) -> TObject* { return c->Glyph(); }));
    add("Glyph", ObjectProperty<TSpeedButton>([](TSpeedButton* c) -> TObject* { return c->Glyph(); }));
    add("Images", ObjectProperty<TToolBar>([](TToolBar* c) -> TObject* { return c->Images(); }));
    add("Images", ObjectProperty<TMenu>([](TMenu* c) -> TObject* { return c->Images(); }));
    add("NumGlyphs", IntProperty<TBitBtn>([](TBitBtn* c) { return c->NumGlyphs(); }, [](TBitBtn* c, Integer v) { c->SetNumGlyphs(v); }));
    add("NumGlyphs", IntProperty<TSpeedButton>([](TSpeedButton* c) { return c->NumGlyphs(); }, [](TSpeedButton* c, Integer v) { c->SetNumGlyphs(v); }));
    add("ImageIndex", IntProperty<TToolButton>([](TToolButton* c) { return c->ImageIndex(); }, [](TToolButton* c, Integer v) { c->SetImageIndex(v); }));
    add("ImageIndex", IntProperty<TMenuItem>([](TMenuItem* c) { return c->ImageIndex(); }, [](TMenuItem* c, Integer v) { c->SetImageIndex(v); }));
    add("Margin", IntProperty<TBitBtn>([](TBitBtn* c) { return c->Margin(); }, [](TBitBtn* c, Integer v) { c->SetMargin(v); }));
    add("Margin", IntProperty<TSpeedButton>([](TSpeedButton* c) { return c->Margin(); }, [](TSpeedButton* c, Integer v) { c->SetMargin(v); }));
    add("Spacing", IntProperty<TBitBtn>([](TBitBtn* c) { return c->Spacing(); }, [](TBitBtn* c, Integer v) { c->SetSpacing(v); }));
    add("Spacing", IntProperty<TSpeedButton>([](TSpeedButton* c) { return c->Spacing(); }, [](TSpeedButton* c, Integer v) { c->SetSpacing(v); }));
    add("Layout", EnumProperty<TBitBtn, TButtonLayout>([](TBitBtn* c) { return c->Layout(); }, [](TBitBtn* c, TButtonLayout v) { c->SetLayout(v); }, LayoutNames));
    add("Layout", EnumProperty<TSpeedButton, TButtonLayout>([](TSpeedButton* c) { return c->Layout(); }, [](TSpeedButton* c, TButtonLayout v) { c->SetLayout(v); }, LayoutNames));
    add("Alignment", EnumProperty<TCustomLabel, TAlignment>([](TCustomLabel* c) { return c->Alignment(); }, [](TCustomLabel* c, TAlignment v) { c->SetAlignment(v); }, AlignmentNames));
    add("Alignment", EnumProperty<TCustomEdit, TAlignment>([](TCustomEdit* c) { return c->Alignment(); }, [](TCustomEdit* c, TAlignment v) { c->SetAlignment(v); }, AlignmentNames));
    add("Alignment", EnumProperty<TCustomCheckBox, TAlignment>([](TCustomCheckBox* c) { return c->Alignment(); }, [](TCustomCheckBox* c, TAlignment v) { c->SetAlignment(v); }, AlignmentNames));
    add("Alignment", EnumProperty<TRadioButton, TAlignment>([](TRadioButton* c) { return c->Alignment(); }, [](TRadioButton* c, TAlignment v) { c->SetAlignment(v); }, AlignmentNames));
    add("Alignment", EnumProperty<TCustomPanel, TAlignment>([](TCustomPanel* c) { return c->Alignment(); }, [](TCustomPanel* c, TAlignment v) { c->SetAlignment(v); }, AlignmentNames));
    add("Enabled", BoolProperty<TControl>([](TControl* c) { return c->Enabled(); }, [](TControl* c, bool v) { c->SetEnabled(v); }));
    add("Enabled", BoolProperty<TMenuItem>([](TMenuItem* c) { return c->Enabled(); }, [](TMenuItem* c, bool v) { c->SetEnabled(v); }));
    add("Down", BoolProperty<TSpeedButton>([](TSpeedButton* c) { return c->Down(); }, [](TSpeedButton* c, bool v) { c->SetDown(v); }));
    add("Flat", BoolProperty<TSpeedButton>([](TSpeedButton* c) { return c->Flat(); }, [](TSpeedButton* c, bool v) { c->SetFlat(v); }));
    add("State", EnumProperty<TCustomCheckBox, TCheckBoxState>([](TCustomCheckBox* c) { return c->State(); }, [](TCustomCheckBox* c, TCheckBoxState v) { c->SetState(v); }, {"cbUnchecked", "cbChecked", "cbGrayed"}));
    add("Checked", BoolProperty<TCustomCheckBox>([](TCustomCheckBox* c) { return c->Checked(); }, [](TCustomCheckBox* c, bool v) { c->SetChecked(v); }));
    add("Checked", BoolProperty<TRadioButton>([](TRadioButton* c) { return c->Checked(); }, [](TRadioButton* c, bool v) { c->SetChecked(v); }));
    add("Checked", BoolProperty<TMenuItem>([](TMenuItem* c) { return c->Checked(); }, [](TMenuItem* c, bool v) { c->SetChecked(v); }));
    add("ParentBackground", BoolProperty<TCustomPanel>([](TCustomPanel* c) { return c->ParentBackground(); }, [](TCustomPanel* c, bool v) { c->SetParentBackground(v); }));
    add("Kind", EnumProperty<TScrollBar, TScrollBarKind>([](TScrollBar* c) { return c->Kind(); }, [](TScrollBar* c, TScrollBarKind v) { c->SetKind(v); }, {"sbHorizontal", "sbVertical"}));
    add("Kind", EnumProperty<TBitBtn, TBitBtnKind>([](TBitBtn* c) { return c->Kind(); }, [](TBitBtn* c, TBitBtnKind v) { c->SetKind(v); },
                                                   {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"}));
    add("BorderStyle", EnumProperty<TWinControl, TBorderStyle>([](TWinControl* c) { return c->BorderStyle(); }, [](TWinControl* c, TBorderStyle v) { c->SetBorderStyle(v); },
                                                               {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}));
    return t;
  }();
  return table;
}

const IPublishedProperties* Publisher(TObject* Instance) { return dynamic_cast<const IPublishedProperties*>(Instance); }

// The first entry of Name whose reader of the wanted kind answers for Instance.
template <class R, class F>
std::optional<R> Find(TObject* Instance, const String& Name, F Reader) {
  if (!Instance) return std::nullopt;
  const auto range = Properties().equal_range(Name.toLower());
  for (auto it = range.first; it != range.second; ++it) {
    const auto& read = Reader(it->second);
    if (!read) continue;
    if (std::optional<R> value = read(Instance)) return value;
  }
  return std::nullopt;
}

}  // namespace

bool IPublishedProperties::ReadOrdProperty(const String&, Integer&) const { return false; }
bool IPublishedProperties::ReadObjectProperty(const String&, TObject*&) const { return false; }
bool IPublishedProperties::ReadTextProperty(const String&, String&) const { return false; }
bool IPublishedProperties::WriteProperty(const String&, const String&) { return false; }

bool HasPropByName(TObject* Instance, const String& Name) {
  if (!Instance) return false;
  if (const IPublishedProperties* publisher = Publisher(Instance)) {
    Integer ord = 0;
    TObject* object = nullptr;
    String text;
    if (publisher->ReadOrdProperty(Name, ord) || publisher->ReadObjectProperty(Name, object) || publisher->ReadTextProperty(Name, text))
      return true;
  }
  const auto range = Properties().equal_range(Name.toLower());
  for (auto it = range.first; it != range.second; ++it) {
    const TProperty& p = it->second;
    if ((p.Ord && p.Ord(Instance)) || (p.Enum && p.Enum(Instance)) || (p.Text && p.Text(Instance)) || (p.Object && p.Object(Instance)))
      return true;
  }
  return false;
}

Integer GetOrdPropByName(TObject* Instance, const String& Name) {
  if (const IPublishedProperties* publisher = Publisher(Instance)) {
    Integer value = 0;
    if (publisher->ReadOrdProperty(Name, value)) return value;
  }
  return Find<Integer>(Instance, Name, [](const TProperty& p) -> const auto& { return p.Ord; }).value_or(-1);
}

String GetEnumPropName(TObject* Instance, const String& Name) {
  return Find<String>(Instance, Name, [](const TProperty& p) -> const auto& { return p.Enum; }).value_or(String());
}

String GetTextPropW(TObject* Instance, const String& Name) {
  if (const IPublishedProperties* publisher = Publisher(Instance)) {
    String value;
    if (publisher->ReadTextProperty(Name, value)) return value;
  }
  return Find<String>(Instance, Name, [](const TProperty& p) -> const auto& { return p.Text; }).value_or(String());
}

TObject* GetObjectPropByName(TObject* Instance, const String& Name) {
  if (!Instance) return nullptr;
  if (const IPublishedProperties* publisher = Publisher(Instance)) {
    TObject* value = nullptr;
    if (publisher->ReadObjectProperty(Name, value)) return value;
  }
  const auto range = Properties().equal_range(Name.toLower());
  for (auto it = range.first; it != range.second; ++it)
    if (it->second.Object)
      if (TObject* value = it->second.Object(Instance)) return value;
  return nullptr;
}

void SetPropByText(TObject* Instance, const String& Name, const String& Text) {
  if (!Instance) return;
  if (auto* publisher = dynamic_cast<IPublishedProperties*>(Instance); publisher && publisher->WriteProperty(Name, Text)) return;
  const auto range = Properties().equal_range(Name.toLower());
  for (auto it = range.first; it != range.second; ++it)
    if (it->second.Set && it->second.Set(Instance, Text)) return;
}
