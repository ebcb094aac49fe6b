#pragma once
// Reading and writing the published properties of the standard controls by name, for code
// that treats any control alike by the names it publishes (the skin painters). Names are
// compared without case; a missing property, or a null instance, reads as "none".
#include "platform/rtl/Types.h"

class TObject;

// A class of a library above the layer publishes its own properties by answering for its
// instances; the readers below ask it before the layer's own table. Each answers false when
// the instance publishes no property of that name and kind.
class IPublishedProperties {
public:
  virtual ~IPublishedProperties() = default;
  virtual bool ReadOrdProperty(const String& Name, Integer& Value) const;
  virtual bool ReadObjectProperty(const String& Name, TObject*& Value) const;
  virtual bool ReadTextProperty(const String& Name, String& Value) const;
  // Sets the property Name from Text (an enumeration's value name, or a decimal number).
  virtual bool WriteProperty(const String& Name, const String& Text);
};

// Whether the instance publishes a property of that name, of whatever kind.
bool HasPropByName(TObject* Instance, const String& Name);
// An integer property's value, or -1 when the instance has none of that name.
Integer GetOrdPropByName(TObject* Instance, const String& Name);
// The value name of an enumeration or Boolean property ("taCenter", "True"), or "".
String GetEnumPropName(TObject* Instance, const String& Name);
// A text property's value, or "".
String GetTextPropW(TObject* Instance, const String& Name);
// An object property's value, or nullptr when missing or not of class T.
TObject* GetObjectPropByName(TObject* Instance, const String& Name);
template <class T>
T* GetObjectPropByName(TObject* Instance, const String& Name) {
  return dynamic_cast<T*>(GetObjectPropByName(Instance, Name));
}
// Sets an enumeration or Boolean property by its value name, or an integer property from
// Text as a decimal number; other kinds and unknown names are left alone.
void SetPropByText(TObject* Instance, const String& Name, const String& Text);
