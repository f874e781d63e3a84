// Basic types, the root class TObject with its class identity, message
// dispatch by number, method pointers and typed events.
//
// Class identity
// --------------
// Every class derived from TObject names itself and its parent with one macro,
// placed first in its body:
//
//   class TStringList : public TStrings {
//     DK_CLASS(TStringList, TStrings)
//   public:
//     ...
//   };
//
// The macro gives the class:
//   static TClass StaticClass()   the class's descriptor (name, parent, factory)
//   TClass ClassType() const      the descriptor of the object's actual class
//   using inherited = Parent;     so overrides can write inherited::Loaded();
// and leaves the body in `private:` access (as a class body starts).
// ClassName(), ClassParent() and InheritsFrom() come from TObject.
//
// Two-phase construction
// ----------------------
// A C++ constructor only initialises members (virtual calls do not reach the
// derived class there). The steps that need the whole object go into the
// virtual Construct() (overrides call inherited::Construct() first) and
// AfterConstruction(). Objects are made through the factory, which runs the
// constructor, then Construct(), then AfterConstruction():
//
//   auto* list = Create<TStringList>();
//   auto* btn  = Create<TButton>(Form1);        // arguments go to the constructor
//
// The class registry's virtual constructor (used by the form reader) does the
// same for classes whose constructor takes (TComponent* AOwner), (TCollection*)
// or nothing.
//
// Messages
// --------
// Dispatch(&Msg) reads the 32-bit message number at the start of Msg and calls
// the handler registered for that number by the object's class or the nearest
// ancestor, or DefaultHandler(&Msg). Register handlers next to the class:
//
//   DK_MESSAGE_HANDLER(TMyForm, WM_SIZE, WMSize);    // void WMSize(TMessage& Msg)
//
// A handler passes the message on to its ancestors with
// InheritedMessage(TMyForm::StaticClass(), &Msg).
//
// Events
// ------
// TMethod is the (code, data) pair of a method pointer. Typed events wrap one:
//
//   TNotifyEvent OnClick;
//   OnClick = TNotifyEvent(this, &TForm1::Button1Click);
//   if (OnClick) OnClick(this);
//   OnClick = nullptr;
//
// Declare further event types with TClosure<signature>:
//   using TCloseEvent = TClosure<void(TObject* Sender, TCloseAction& Action)>;
// Events compare equal when they call the same method of the same object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

// ---------------------------------------------------------------- basic types

using AnsiString = std::string;  // 8-bit text, code page 1251
using String = AnsiString;
using RawByteString = std::string;
using UTF8String = std::string;
using WideString = std::u16string;  // UTF-16
using UnicodeString = std::u16string;

using Byte = std::uint8_t;
using ShortInt = std::int8_t;
using Word = std::uint16_t;
using SmallInt = std::int16_t;
using Integer = std::int32_t;
using LongInt = std::int32_t;
using Cardinal = std::uint32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using NativeInt = std::intptr_t;
using NativeUInt = std::uintptr_t;
using Boolean = bool;
using LongBool = std::int32_t;
using AnsiChar = char;
using Char = char;
using WideChar = char16_t;
using Single = float;
using Double = double;
using Extended = long double;
using Pointer = void*;
using TDateTime = double;
using PChar = char*;
using PWideChar = char16_t*;

// v in units of 1/10000, rounded half away from zero. A NaN or a value beyond
// the 64-bit range raises EInvalidOp ("Invalid floating point operation").
Int64 ScaleCurrency(long double v);

// Currency: a fixed-point number with four decimals, held as a scaled 64-bit integer.
struct Currency {
  Int64 Value = 0;  // units of 1/10000
  Currency() = default;
  static Currency FromScaled(Int64 v) { Currency c; c.Value = v; return c; }
  Currency(double d) : Value(ScaleCurrency(d)) {}
  explicit operator double() const { return static_cast<double>(Value) / 10000.0; }
  friend bool operator==(const Currency& a, const Currency& b) { return a.Value == b.Value; }
};

// ------------------------------------------------------------------ sets

// A set of enumeration values (at most 64 of them, ordinal 0..63), as in
// "TFontStyles = set of TFontStyle":  TSet<TFontStyle> s{fsBold, fsItalic};
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(UInt64 bits) { TSet s; s.bits_ = bits; return s; }
  constexpr UInt64 Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) { bits_ |= Bit(e); return *this; }
  constexpr TSet& Exclude(E e) { bits_ &= ~Bit(e); return *this; }
  constexpr TSet& Clear() { bits_ = 0; return *this; }
  constexpr TSet& operator<<(E e) { return Include(e); }
  constexpr TSet& operator>>(E e) { return Exclude(e); }
  constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet& operator+=(TSet o) { bits_ |= o.bits_; return *this; }
  constexpr TSet& operator-=(TSet o) { bits_ &= ~o.bits_; return *this; }
  constexpr TSet& operator*=(TSet o) { bits_ &= o.bits_; return *this; }
  constexpr bool operator==(const TSet& o) const = default;

 private:
  static constexpr UInt64 Bit(E e) {
    auto n = static_cast<unsigned>(e);
    return n < 64 ? (UInt64(1) << n) : 0;
  }
  UInt64 bits_ = 0;
};

// ------------------------------------------------------------ class identity

class TObject;
class TComponent;
class TCollection;
class TCollectionItem;
struct TPublishedData;  // property registry of one class (TypInfo.h)

// How the registry's virtual constructor calls a class's C++ constructor.
enum class TFactoryKind { None, Plain, Component, CollectionItem };

struct TClassInfo;
using TClass = const TClassInfo*;

struct TClassInfo {
  const char* Name;
  TClass Parent;
  TFactoryKind FactoryKind;
  TObject* (*Factory)(void* arg);  // runs the C++ constructor only
  const std::type_info* CppType;
  mutable TPublishedData* Published = nullptr;  // filled by the property registry
  mutable std::map<Cardinal, void (*)(TObject*, void*)>* Messages = nullptr;
  // The unit that registers the class's message handlers (DK_MESSAGES): held
  // here so that linking the class links its handlers.
  void (*MessageUnit)() = nullptr;

  bool InheritsFrom(TClass ancestor) const {
    for (TClass c = this; c; c = c->Parent)
      if (c == ancestor) return true;
    return false;
  }
  AnsiString ClassName() const { return Name; }
  TClass ClassParent() const { return Parent; }
  // The virtual constructor: C++ constructor, Construct(), AfterConstruction().
  // `arg` is the owner for components, the collection for collection items,
  // ignored otherwise. Raises EInvalidOperation for an abstract class.
  TObject* CreateInstance(void* arg = nullptr) const;
};

namespace dk {
template <class T>
constexpr TFactoryKind FactoryKindOf() {
  if constexpr (std::is_abstract_v<T>)
    return TFactoryKind::None;
  else if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
    return TFactoryKind::Component;
  else if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection*>)
    return TFactoryKind::CollectionItem;
  else if constexpr (std::is_default_constructible_v<T>)
    return TFactoryKind::Plain;
  else
    return TFactoryKind::None;
}
template <class T>
TObject* NewInstance(void* arg) {
  if constexpr (FactoryKindOf<T>() == TFactoryKind::Component)
    return new T(static_cast<TComponent*>(arg));
  else if constexpr (FactoryKindOf<T>() == TFactoryKind::CollectionItem)
    return new T(static_cast<TCollection*>(arg));
  else
    return new T();
}
template <class T>
constexpr TObject* (*FactoryOf())(void*) {
  if constexpr (FactoryKindOf<T>() == TFactoryKind::None)
    return nullptr;
  else
    return &NewInstance<T>;
}
}  // namespace dk

namespace dk {
// The message unit of T when T itself declares DK_MESSAGES (not an ancestor).
template <class T>
constexpr void (*MessageUnitOf())() {
  if constexpr (requires { typename T::DkMessagesOwner; }) {
    if constexpr (std::is_same_v<typename T::DkMessagesOwner, T>) return &T::DkMessageUnit;
  }
  return nullptr;
}
}  // namespace dk

#define DK_CLASS(Name, Parent)                                                                  \
 public:                                                                                        \
  using inherited = Parent;                                                                     \
  static TClass StaticClass() {                                                                 \
    static const TClassInfo info{#Name,    Parent::StaticClass(), dk::FactoryKindOf<Name>(),    \
                                 dk::FactoryOf<Name>(), &typeid(Name), nullptr, nullptr,       \
                                 dk::MessageUnitOf<Name>()};                                    \
    return &info;                                                                               \
  }                                                                                             \
  TClass ClassType() const override { return Name::StaticClass(); }                             \
                                                                                                \
 private:

// ------------------------------------------------------------------- TObject

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  AnsiString ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }
  template <class T>
  bool Is() const { return InheritsFrom(T::StaticClass()); }

  // Second construction phase (see the top of this file).
  virtual void Construct() {}
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}

  // Message dispatch by number (the first 32 bits of the message).
  virtual void Dispatch(void* Message);
  virtual void DefaultHandler(void* Message) {}
  // Runs the handler of the nearest ancestor of `from` for the message, or DefaultHandler.
  void InheritedMessage(TClass from, void* Message);

  // Frees an object made by the factory: BeforeDestruction, then delete.
  void Free();

 protected:
  // Copying is for value classes such as the exceptions; components forbid it.
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
};

// Deletes obj (if any) through Free() and clears the pointer.
template <class T>
void FreeAndNil(T*& obj) {
  T* p = obj;
  obj = nullptr;
  if (p) p->Free();
}

// The factory (see the top of this file).
template <class T, class... A>
T* Create(A&&... args) {
  T* obj = new T(std::forward<A>(args)...);
  try {
    obj->Construct();
    obj->AfterConstruction();
  } catch (...) {
    delete obj;
    throw;
  }
  return obj;
}

// Message handlers
// ----------------
// A class with handlers of its own declares DK_MESSAGES after DK_CLASS; the
// one unit that registers them starts with DK_MESSAGE_UNIT and binds each
// number to a method `void Method(M& Msg)`:
//
//   class TMyControl : public TWinControl {
//     DK_CLASS(TMyControl, TWinControl)
//     DK_MESSAGES(TMyControl)
//    public:
//     void WMSize(TWMSize& Message);
//   };
//   // MyControl.cpp
//   DK_MESSAGE_UNIT(TMyControl);
//   DK_MESSAGE_HANDLER(TMyControl, WM_SIZE, WMSize);
//
// The class then holds its unit: whatever links the class links its handlers,
// and a unit that is missing fails the build. A handler outside the class's
// unit does not compile. The record type M must view the message: a typed
// record lists the numbers it fits (see Controls.h), TMessage fits any.

void RegisterMessageHandler(TClass cls, Cardinal id, void (*thunk)(TObject*, void*));

namespace dk {
template <class M>
constexpr bool RecordFits(Cardinal Id) {
  if constexpr (requires { M::Fits(Cardinal{}); })
    return M::Fits(Id);
  else
    return true;
}
}  // namespace dk

template <Cardinal Id, class T, class M>
bool RegisterMessageMethod(void (T::*method)(M&)) {
  static_assert(dk::RecordFits<M>(Id), "the handler's message record does not view this message");
  static void (T::*const handler)(M&) = method;
  RegisterMessageHandler(T::StaticClass(), Id, [](TObject* self, void* msg) {
    (static_cast<T*>(self)->*handler)(*static_cast<M*>(msg));
  });
  return true;
}

#define DK_CAT2_(a, b) a##b
#define DK_CAT_(a, b) DK_CAT2_(a, b)
#define DK_MESSAGES(Cls)          \
 public:                          \
  using DkMessagesOwner = Cls;    \
  static void DkMessageUnit();    \
                                  \
 private:
#define DK_MESSAGE_UNIT(Cls)  \
  void Cls::DkMessageUnit() {} \
  static constexpr bool DK_CAT_(dk_message_unit_, Cls) = true
#define DK_MESSAGE_HANDLER(Cls, Id, Method)                                                           \
  static_assert(DK_CAT_(dk_message_unit_, Cls), "handlers go in the class's DK_MESSAGE_UNIT");        \
  static const bool DK_CAT_(dk_msg_reg_, __LINE__) = RegisterMessageMethod<(Id)>(&Cls::Method)

// Unit anchors: a header that says DK_LINK_UNIT(Name) makes every program that
// includes it link the unit that says DK_UNIT(Name) (its class registrations
// with it), even when the program only creates the unit's classes by name.
#define DK_LINK_UNIT(Unit)                                                 \
  namespace dk_link {                                                      \
  extern const int Unit##Unit;                                             \
  [[gnu::used]] static const int* const Unit##Anchor = &Unit##Unit;        \
  }
#define DK_UNIT(Unit) const int dk_link::Unit##Unit = 0

// ------------------------------------------------------------- method pointers

struct TMethod {
  void* Code = nullptr;  // identifies the method (an interned descriptor)
  void* Data = nullptr;  // the object (as TObject*)
  bool operator==(const TMethod& o) const { return Code == o.Code && Data == o.Data; }
  bool Assigned() const { return Code != nullptr; }
};

namespace dk {
// An interned member function pointer: one descriptor per distinct method, so
// that two events calling the same method hold the same Code.
struct MethodDesc {
  const std::type_info* Signature;  // typeid of R(A...)
  const std::type_info* Owner;      // typeid of the class
  std::string Bytes;                // the member pointer's representation
  void* Invoker;                    // R (*)(const MethodDesc*, TObject*, A...)
  alignas(std::max_align_t) unsigned char Storage[32];
};
const MethodDesc* InternMethod(const std::type_info& sig, const std::type_info& owner, const void* mp,
                               std::size_t size, void* invoker);
}  // namespace dk

template <class Sig>
class TClosure;

template <class R, class... A>
class TClosure<R(A...)> {
 public:
  using Signature = R(A...);
  TClosure() = default;
  TClosure(std::nullptr_t) {}
  template <class T>
  TClosure(T* obj, R (T::*method)(A...)) {
    static_assert(std::is_base_of_v<TObject, T>, "event handlers are methods of TObject descendants");
    static_assert(sizeof(method) <= sizeof(dk::MethodDesc::Storage));
    Invoke inv = &Call<T>;
    auto* d = dk::InternMethod(typeid(Signature), typeid(T), &method, sizeof method,
                               reinterpret_cast<void*>(inv));
    m_.Code = const_cast<dk::MethodDesc*>(d);
    m_.Data = obj ? static_cast<TObject*>(obj) : nullptr;
  }
  // From a raw method pair (as the property registry hands it out); an empty
  // closure when the pair's method has another signature.
  static TClosure FromMethod(const TMethod& m) {
    TClosure c;
    auto* d = static_cast<const dk::MethodDesc*>(m.Code);
    if (d && *d->Signature == typeid(Signature)) c.m_ = m;
    return c;
  }
  const TMethod& Method() const { return m_; }
  explicit operator bool() const { return m_.Code != nullptr && m_.Data != nullptr; }
  bool operator==(const TClosure& o) const { return m_ == o.m_; }
  bool operator==(std::nullptr_t) const { return !static_cast<bool>(*this); }
  TObject* Object() const { return static_cast<TObject*>(m_.Data); }

  R operator()(A... args) const {
    auto* d = static_cast<const dk::MethodDesc*>(m_.Code);
    auto inv = reinterpret_cast<Invoke>(d->Invoker);
    return inv(d, static_cast<TObject*>(m_.Data), std::forward<A>(args)...);
  }

 private:
  using Invoke = R (*)(const dk::MethodDesc*, TObject*, A...);
  template <class T>
  static R Call(const dk::MethodDesc* d, TObject* self, A... args) {
    R (T::*method)(A...);
    std::memcpy(&method, d->Storage, sizeof method);
    return (static_cast<T*>(self)->*method)(std::forward<A>(args)...);
  }
  TMethod m_;
};

using TNotifyEvent = TClosure<void(TObject* Sender)>;

// Forward declarations of the classes the other units hold pointers to.
class TPersistent;
class TFiler;
class TReader;
class TWriter;
class TStream;
