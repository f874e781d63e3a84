// Run-time type information: the published properties and methods of each
// class, enumeration and set descriptions, identifier maps of integer types,
// and the helpers that read and write properties by name.
//
// Publishing (in the class's .cpp, next to its code):
//
//   DK_PUBLISH(TMyButton) {
//     P.Property("Caption", &TMyButton::GetCaption, &TMyButton::SetCaption);
//     P.Property("Kind", &TMyButton::FKind, &TMyButton::SetKind).Default(bkCustom);
//     P.Property("Color", &TMyButton::FColor, &TMyButton::SetColor).Type(TypeInfoTColor()).Default(clBtnFace);
//     P.Property("Count", &TMyButton::GetCount);                 // read-only (getter alone)
//     P.Property("Tag2", &TMyButton::FTag2);                     // field: read and written
//     P.Property("Hint", &TMyButton::FHint).Stored(&TMyButton::IsHintStored);
//     P.Property("OnClick", &TMyButton::FOnClick);               // an event field
//     P.Method("ButtonClick", &TMyButton::ButtonClick);          // published method
//   }
//
// Getters are member functions returning the value or fields; setters are
// member functions taking the value (by value or const reference) or fields.
// Properties keep their declaration order, ancestors first. DK_PUBLISH also
// registers the class by name for the form reader.
//
// The C++ type gives the kind: integers up to 32 bits tkInteger, 64-bit
// tkInt64, bool and enumerations tkEnumeration, TSet<E> tkSet, char tkChar,
// char16_t tkWChar, floating types tkFloat, AnsiString tkLString, WideString
// tkWString, pointers to TObject descendants tkClass, TClosure events
// tkMethod. Enumerations describe their names once, after their declaration:
//
//   DK_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient);   // declares the enum too
//   DK_ENUM_INFO(TExisting, exA, exB);                                      // for an existing enum
//
// Values of enumerations must run 0, 1, 2 ... as listed.
#pragma once

#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "classlib/core/Classes.h"

enum TTypeKind {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod, tkWChar,
  tkLString, tkWString, tkVariant, tkArray, tkRecord, tkInterface, tkInt64, tkDynArray, tkUString
};
using TTypeKinds = TSet<TTypeKind>;
inline constexpr TTypeKinds tkAny = TTypeKinds::FromBits((UInt64(1) << (tkUString + 1)) - 1);
inline constexpr TTypeKinds tkProperties = tkAny - TTypeKinds{tkMethod, tkUnknown};
inline constexpr TTypeKinds tkMethods{tkMethod};

enum TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

struct TIdentMapEntry {
  Integer Value;
  const char* Name;
};

struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  AnsiString Name;
  TOrdType OrdType = otSLong;
  Int64 MinValue = 0;
  Int64 MaxValue = 0;
  std::vector<AnsiString> EnumNames;      // tkEnumeration
  const TTypeInfo* CompType = nullptr;    // tkSet: the element type
  TFloatType FloatType = ftDouble;        // tkFloat
  bool IsDate = false;                    // tkFloat holding a TDateTime
  TClass ClassType = nullptr;             // tkClass
  const std::type_info* MethodSignature = nullptr;  // tkMethod
  // Identifier maps of integer types (colours, cursors ...), extendable.
  mutable std::vector<std::pair<AnsiString, Integer>> Idents;
};
using PTypeInfo = const TTypeInfo*;

struct TPropInfo {
  PTypeInfo PropType = nullptr;
  AnsiString Name;
  TClass OwnerClass = nullptr;
  // Non-null when the property can be read / written (the class library's
  // GetProc/SetProc fields).
  const void* GetProc = nullptr;
  const void* SetProc = nullptr;
  static constexpr Integer NoDefault = Integer(0x80000000);
  Integer Default = NoDefault;   // ordinal default (NoDefault: always stored)
  Integer NameIndex = 0;         // position in the class's full list
  std::function<bool(TObject*)> StoredProc;  // empty: stored

  // Accessors by kind (only those of the property's kind are set).
  std::function<Int64(TObject*)> GetOrd;
  std::function<void(TObject*, Int64)> SetOrd;
  std::function<AnsiString(TObject*)> GetStr;
  std::function<void(TObject*, const AnsiString&)> SetStr;
  std::function<WideString(TObject*)> GetWStr;
  std::function<void(TObject*, const WideString&)> SetWStr;
  std::function<long double(TObject*)> GetFloat;
  std::function<void(TObject*, long double)> SetFloat;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMeth;
  std::function<void(TObject*, const TMethod&)> SetMeth;

  bool IsStored(TObject* Instance) const { return !StoredProc || StoredProc(Instance); }
  bool Writable() const { return SetProc != nullptr; }
};
using PPropInfo = const TPropInfo*;
using TPropList = std::vector<PPropInfo>;

struct TPublishedMethod {
  AnsiString Name;
  void* Code;
  const std::type_info* Signature;
};

// The published data of one class (its own properties and methods).
struct TPublishedData {
  std::vector<std::unique_ptr<TPropInfo>> Props;
  std::vector<TPublishedMethod> Methods;
  std::vector<std::function<void(TPublishedData&)>> Builders;
  // All properties, ancestors first, resolved on first use.
  std::once_flag Once;
  TPropList All;
};

// ------------------------------------------------------------ type descriptions

namespace dk {
PTypeInfo MakeEnumInfo(const char* Name, const char* CommaNames);
PTypeInfo MakeSetInfo(PTypeInfo Comp);
PTypeInfo BooleanInfo();
PTypeInfo OrdInfo(TTypeKind Kind, const char* Name, TOrdType Ot, Int64 Min, Int64 Max);
PTypeInfo FloatInfo(TFloatType Ft);
PTypeInfo StringInfo(TTypeKind Kind);
PTypeInfo ClassInfoOf(TClass Cls);
PTypeInfo MethodInfoOf(const std::type_info& Sig, const char* Name);
}  // namespace dk

#define DK_ENUM_INFO(Type, ...)                                  \
  inline PTypeInfo dk_type_info(Type*) {                         \
    static PTypeInfo ti = dk::MakeEnumInfo(#Type, #__VA_ARGS__); \
    return ti;                                                   \
  }
#define DK_ENUM(Type, ...)  \
  enum Type { __VA_ARGS__ }; \
  DK_ENUM_INFO(Type, __VA_ARGS__)

// A named integer type with its own identifier map (TColor, TCursor ...):
// the same name gives the same description.
PTypeInfo IntegerTypeInfo(const AnsiString& Name);
// TColor carries the base colour names (clBlack, clWhite, clBtnFace ...);
// the Windows half adds the rest of the table.
PTypeInfo TypeInfoTColor();
PTypeInfo TypeInfoTDateTime();
// Adds identifiers to an integer type's map (later entries do not replace earlier ones).
void RegisterIntegerConsts(PTypeInfo IntegerType, std::initializer_list<TIdentMapEntry> Map);
bool IdentToInt(PTypeInfo IntegerType, const AnsiString& Ident, Integer& Value);
bool IntToIdent(PTypeInfo IntegerType, Integer Value, AnsiString& Ident);

namespace dk {
template <class V>
struct TypeOf;
template <class E>
struct TypeOf<TSet<E>> {
  static PTypeInfo Get() {
    static PTypeInfo ti = MakeSetInfo(TypeOf<E>::Get());
    return ti;
  }
};
template <class Sig>
struct TypeOf<TClosure<Sig>> {
  static PTypeInfo Get() { return MethodInfoOf(typeid(Sig), "TMethod"); }
};
template <class V>
struct TypeOf {
  static PTypeInfo Get() {
    if constexpr (std::is_same_v<V, bool>)
      return BooleanInfo();
    else if constexpr (std::is_enum_v<V>)
      return dk_type_info(static_cast<V*>(nullptr));
    else if constexpr (std::is_same_v<V, char>)
      return OrdInfo(tkChar, "Char", otUByte, 0, 255);
    else if constexpr (std::is_same_v<V, char16_t>)
      return OrdInfo(tkWChar, "WideChar", otUWord, 0, 65535);
    else if constexpr (std::is_integral_v<V> && sizeof(V) == 8)
      return OrdInfo(tkInt64, "Int64", otSLong, INT64_MIN, INT64_MAX);
    else if constexpr (std::is_integral_v<V> && std::is_signed_v<V>)
      return OrdInfo(tkInteger, sizeof(V) == 1 ? "ShortInt" : sizeof(V) == 2 ? "SmallInt" : "Integer",
                     sizeof(V) == 1 ? otSByte : sizeof(V) == 2 ? otSWord : otSLong,
                     Int64(std::numeric_limits<V>::min()), Int64(std::numeric_limits<V>::max()));
    else if constexpr (std::is_integral_v<V>)
      return OrdInfo(tkInteger, sizeof(V) == 1 ? "Byte" : sizeof(V) == 2 ? "Word" : "Cardinal",
                     sizeof(V) == 1 ? otUByte : sizeof(V) == 2 ? otUWord : otULong, 0,
                     Int64(std::numeric_limits<V>::max()));
    else if constexpr (std::is_same_v<V, float>)
      return FloatInfo(ftSingle);
    else if constexpr (std::is_same_v<V, double>)
      return FloatInfo(ftDouble);
    else if constexpr (std::is_same_v<V, long double>)
      return FloatInfo(ftExtended);
    else if constexpr (std::is_same_v<V, Currency>)
      return FloatInfo(ftCurr);
    else if constexpr (std::is_same_v<V, AnsiString>)
      return StringInfo(tkLString);
    else if constexpr (std::is_same_v<V, WideString>)
      return StringInfo(tkWString);
    else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<TObject, std::remove_pointer_t<V>>)
      return ClassInfoOf(std::remove_pointer_t<V>::StaticClass());
    else
      static_assert(sizeof(V) == 0, "no published kind for this type");
  }
};

// Value types of getters and setters.
template <class X>
struct Accessor;
template <class T, class V>
struct Accessor<V T::*> {  // field
  using Value = V;
  static V Get(T* o, V T::*f) { return o->*f; }
  static void Set(T* o, V T::*f, const V& v) { o->*f = v; }
};
template <class T, class V>
struct Accessor<V (T::*)() const> {
  using Value = std::remove_cvref_t<V>;
  static Value Get(T* o, V (T::*f)() const) { return (o->*f)(); }
};
template <class T, class V>
struct Accessor<V (T::*)()> {
  using Value = std::remove_cvref_t<V>;
  static Value Get(T* o, V (T::*f)()) { return (o->*f)(); }
};
template <class T, class V>
struct Accessor<void (T::*)(V)> {
  using Value = std::remove_cvref_t<V>;
  static void Set(T* o, void (T::*f)(V), const Value& v) { (o->*f)(v); }
};
template <class T, class R, class V>
  requires(!std::is_void_v<R>)
struct Accessor<R (T::*)(V)> {
  using Value = std::remove_cvref_t<V>;
  static void Set(T* o, R (T::*f)(V), const Value& v) { (o->*f)(v); }
};

// Converts between a property's C++ value and the registry's generic forms.
template <class V>
struct Conv {
  static Int64 ToOrd(const V& v) {
    if constexpr (requires { v.Bits(); })
      return static_cast<Int64>(v.Bits());
    else
      return static_cast<Int64>(v);
  }
  static V FromOrd(Int64 x) {
    if constexpr (requires { V::FromBits(0); })
      return V::FromBits(static_cast<UInt64>(x));
    else if constexpr (std::is_same_v<V, bool>)
      return x != 0;
    else
      return static_cast<V>(x);
  }
};
}  // namespace dk

class TPropertyBuilder {
 public:
  explicit TPropertyBuilder(TPropInfo* p) : P(p) {}
  TPropertyBuilder& Default(Int64 Value) {
    P->Default = static_cast<Integer>(Value);
    return *this;
  }
  template <class E>
  TPropertyBuilder& Default(TSet<E> Value) {
    P->Default = static_cast<Integer>(Value.Bits());
    return *this;
  }
  TPropertyBuilder& NoDefault() {
    P->Default = TPropInfo::NoDefault;
    return *this;
  }
  TPropertyBuilder& Stored(bool Value) {
    if (Value)
      P->StoredProc = nullptr;
    else
      P->StoredProc = [](TObject*) { return false; };
    return *this;
  }
  template <class T>
  TPropertyBuilder& Stored(bool (T::*Pred)() const) {
    P->StoredProc = [Pred](TObject* o) { return (static_cast<T*>(o)->*Pred)(); };
    return *this;
  }
  template <class T>
  TPropertyBuilder& Stored(bool (T::*Pred)()) {
    P->StoredProc = [Pred](TObject* o) { return (static_cast<T*>(o)->*Pred)(); };
    return *this;
  }
  // Gives the property another type of the same kind (TColor, TDateTime ...).
  TPropertyBuilder& Type(PTypeInfo Info) {
    P->PropType = Info;
    return *this;
  }

 private:
  TPropInfo* P;
};

template <class T>
class TPublisher {
 public:
  explicit TPublisher(TPublishedData& d) : D(d) {}

  template <class G, class S>
  TPropertyBuilder Property(const char* Name, G Getter, S Setter) {
    using V = typename dk::Accessor<G>::Value;
    static_assert(std::is_same_v<V, typename dk::Accessor<S>::Value>, "getter and setter disagree on the type");
    TPropInfo* p = NewProp(Name, dk::TypeOf<V>::Get());
    Bind<V, true>(p, Getter, Setter);
    return TPropertyBuilder(p);
  }
  // A field alone is read and written directly; a getter function alone makes
  // the property read-only.
  template <class G>
  TPropertyBuilder Property(const char* Name, G Getter) {
    using V = typename dk::Accessor<G>::Value;
    TPropInfo* p = NewProp(Name, dk::TypeOf<V>::Get());
    Bind<V, std::is_member_object_pointer_v<G>>(p, Getter, Getter);
    return TPropertyBuilder(p);
  }
  // A published method, found by name when a stream binds an event.
  template <class C, class R, class... A>
  void Method(const char* Name, R (C::*M)(A...)) {
    static_assert(std::is_base_of_v<C, T> || std::is_same_v<C, T>);
    TClosure<R(A...)> c(static_cast<C*>(static_cast<T*>(nullptr)), M);
    D.Methods.push_back({Name, c.Method().Code, &typeid(R(A...))});
  }

 private:
  TPropInfo* NewProp(const char* Name, PTypeInfo Type) {
    auto p = std::make_unique<TPropInfo>();
    p->Name = Name;
    p->PropType = Type;
    p->OwnerClass = T::StaticClass();
    if (Type->Kind == tkClass || Type->Kind == tkMethod || Type->Kind == tkFloat || Type->Kind == tkLString ||
        Type->Kind == tkWString || Type->Kind == tkInt64)
      p->Default = 0;
    D.Props.push_back(std::move(p));
    return D.Props.back().get();
  }

  template <class V, bool writable, class G, class S>
  void Bind(TPropInfo* p, G g, S s) {
    using GA = dk::Accessor<G>;
    using SA = dk::Accessor<S>;
    auto self = [](TObject* o) { return static_cast<T*>(o); };
    p->GetProc = p;
    if constexpr (writable) p->SetProc = p;
    TTypeKind k = p->PropType->Kind;
    if constexpr (std::is_same_v<V, AnsiString>) {
      p->GetStr = [g, self](TObject* o) { return GA::Get(self(o), g); };
      if constexpr (writable) p->SetStr = [s, self](TObject* o, const AnsiString& v) { SA::Set(self(o), s, v); };
    } else if constexpr (std::is_same_v<V, WideString>) {
      p->GetWStr = [g, self](TObject* o) { return GA::Get(self(o), g); };
      if constexpr (writable) p->SetWStr = [s, self](TObject* o, const WideString& v) { SA::Set(self(o), s, v); };
    } else if constexpr (std::is_floating_point_v<V>) {
      p->GetFloat = [g, self](TObject* o) { return static_cast<long double>(GA::Get(self(o), g)); };
      if constexpr (writable)
        p->SetFloat = [s, self](TObject* o, long double v) { SA::Set(self(o), s, static_cast<V>(v)); };
    } else if constexpr (std::is_same_v<V, Currency>) {
      p->GetFloat = [g, self](TObject* o) { return static_cast<long double>(GA::Get(self(o), g).Value) / 10000.0L; };
      if constexpr (writable)
        p->SetFloat = [s, self](TObject* o, long double v) {
          SA::Set(self(o), s, Currency::FromScaled(ScaleCurrency(v)));
        };
    } else if constexpr (std::is_pointer_v<V>) {
      p->GetObj = [g, self](TObject* o) -> TObject* { return GA::Get(self(o), g); };
      if constexpr (writable)
        p->SetObj = [s, self](TObject* o, TObject* v) {
          using C = std::remove_pointer_t<V>;
          C* c = v ? dynamic_cast<C*>(v) : nullptr;
          if (v && !c) throw EInvalidCast("Invalid class typecast");
          SA::Set(self(o), s, c);
        };
    } else if constexpr (requires { typename V::Signature; }) {
      p->GetMeth = [g, self](TObject* o) { return GA::Get(self(o), g).Method(); };
      if constexpr (writable)
        p->SetMeth = [s, self](TObject* o, const TMethod& m) { SA::Set(self(o), s, V::FromMethod(m)); };
    } else {
      (void)k;
      p->GetOrd = [g, self](TObject* o) { return dk::Conv<V>::ToOrd(GA::Get(self(o), g)); };
      if constexpr (writable)
        p->SetOrd = [s, self](TObject* o, Int64 v) { SA::Set(self(o), s, dk::Conv<V>::FromOrd(v)); };
    }
  }

  TPublishedData& D;
};

namespace dk {
// Adds a publishing function to a class (and registers the class by name).
void AddPublisher(TClass Cls, std::function<void(TPublishedData&)> Builder);
template <class T>
bool RegisterPublisher(void (*Fn)(TPublisher<T>&)) {
  AddPublisher(T::StaticClass(), [Fn](TPublishedData& d) {
    TPublisher<T> p(d);
    Fn(p);
  });
  return true;
}
}  // namespace dk

// Publishes a class's properties and methods and registers the class by its
// name. Defines dk_class_<Cls>, which the forms that create the class refer to
// (formc --classes), so that a program whose forms need a class links a unit
// that publishes it (a class may be published in more than one).
#define DK_PUBLISH(Cls)                                                                       \
  inline const char DK_CAT_(dk_class_, Cls) = 0;                                              \
  static void DK_CAT_(dk_publish_, Cls)(TPublisher<Cls> & P);                                 \
  [[gnu::used]] static const char* const DK_CAT_(dk_class_here_, Cls) = &DK_CAT_(dk_class_, Cls);     \
  static const bool DK_CAT_(dk_published_, Cls) = dk::RegisterPublisher<Cls>(&DK_CAT_(dk_publish_, Cls)); \
  static void DK_CAT_(dk_publish_, Cls)(TPublisher<Cls> & P)

// ------------------------------------------------------------------- helpers

// All published properties of a class, ancestors first, in declaration order.
const TPropList& GetPropList(TClass Cls);
TPropList GetPropList(TClass Cls, TTypeKinds Filter, bool SortList = false);
TPropList GetPropList(TObject* Instance, TTypeKinds Filter = tkProperties);
// Case-insensitive lookup; nullptr when the class publishes no such property.
PPropInfo GetPropInfo(TClass Cls, const AnsiString& PropName, TTypeKinds Kinds = tkAny);
PPropInfo GetPropInfo(TObject* Instance, const AnsiString& PropName, TTypeKinds Kinds = tkAny);
bool IsPublishedProp(TObject* Instance, const AnsiString& PropName);
bool IsPublishedProp(TClass Cls, const AnsiString& PropName);
bool PropIsType(TObject* Instance, const AnsiString& PropName, TTypeKind Kind);
TTypeKind PropType(TObject* Instance, const AnsiString& PropName);
bool IsStoredProp(TObject* Instance, PPropInfo Prop);

// Accessors by PropInfo; the named forms raise EPropertyError for an unknown
// property and every form raises it when the kind does not fit or the property is read-only.
Int64 GetOrdProp(TObject* Instance, PPropInfo Prop);
void SetOrdProp(TObject* Instance, PPropInfo Prop, Int64 Value);
AnsiString GetStrProp(TObject* Instance, PPropInfo Prop);
void SetStrProp(TObject* Instance, PPropInfo Prop, const AnsiString& Value);
WideString GetWideStrProp(TObject* Instance, PPropInfo Prop);
void SetWideStrProp(TObject* Instance, PPropInfo Prop, const WideString& Value);
long double GetFloatProp(TObject* Instance, PPropInfo Prop);
void SetFloatProp(TObject* Instance, PPropInfo Prop, long double Value);
Int64 GetInt64Prop(TObject* Instance, PPropInfo Prop);
void SetInt64Prop(TObject* Instance, PPropInfo Prop, Int64 Value);
TObject* GetObjectProp(TObject* Instance, PPropInfo Prop, TClass MinClass = nullptr);
void SetObjectProp(TObject* Instance, PPropInfo Prop, TObject* Value);
TMethod GetMethodProp(TObject* Instance, PPropInfo Prop);
void SetMethodProp(TObject* Instance, PPropInfo Prop, const TMethod& Value);
AnsiString GetEnumProp(TObject* Instance, PPropInfo Prop);
void SetEnumProp(TObject* Instance, PPropInfo Prop, const AnsiString& Value);
AnsiString GetSetProp(TObject* Instance, PPropInfo Prop, bool Brackets = false);
void SetSetProp(TObject* Instance, PPropInfo Prop, const AnsiString& Value);

Int64 GetOrdProp(TObject* Instance, const AnsiString& PropName);
void SetOrdProp(TObject* Instance, const AnsiString& PropName, Int64 Value);
AnsiString GetStrProp(TObject* Instance, const AnsiString& PropName);
void SetStrProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);
WideString GetWideStrProp(TObject* Instance, const AnsiString& PropName);
void SetWideStrProp(TObject* Instance, const AnsiString& PropName, const WideString& Value);
long double GetFloatProp(TObject* Instance, const AnsiString& PropName);
void SetFloatProp(TObject* Instance, const AnsiString& PropName, long double Value);
TObject* GetObjectProp(TObject* Instance, const AnsiString& PropName, TClass MinClass = nullptr);
void SetObjectProp(TObject* Instance, const AnsiString& PropName, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const AnsiString& PropName);
void SetMethodProp(TObject* Instance, const AnsiString& PropName, const TMethod& Value);
AnsiString GetEnumProp(TObject* Instance, const AnsiString& PropName);
void SetEnumProp(TObject* Instance, const AnsiString& PropName, const AnsiString& Value);

// Names of enumeration values; GetEnumValue gives -1 for an unknown name.
AnsiString GetEnumName(PTypeInfo TypeInfo, int Value);
int GetEnumValue(PTypeInfo TypeInfo, const AnsiString& Name);
template <class E>
PTypeInfo TypeInfo() {
  return dk::TypeOf<E>::Get();
}
// "[a,b]" / "a,b" text of a set's bits and back (raises EPropertyError on an unknown name).
AnsiString SetToString(PTypeInfo SetType, Int64 Value, bool Brackets = false);
Int64 StringToSet(PTypeInfo SetType, const AnsiString& Value);

// Published methods: the (code, object) pair for a name, and the name of a code.
TMethod FindPublishedMethod(TObject* Instance, const AnsiString& Name);
const TPublishedMethod* FindPublishedMethodInfo(TClass Cls, const AnsiString& Name);
AnsiString PublishedMethodName(TClass Cls, void* Code);

DK_DECLARE_EXCEPTION(EPropertyError, Exception);
DK_DECLARE_EXCEPTION(EPropertyConvertError, Exception);

