#include "classlib/core/TypInfo.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "classlib/core/StreamingText.h"

using dk_streaming::SameIdent;

namespace {
std::recursive_mutex& TypeLock() {
  static std::recursive_mutex m;
  return m;
}
// Type descriptions live as long as the program.
template <class F>
PTypeInfo Keep(F&& init) {
  auto* t = new TTypeInfo();
  init(*t);
  return t;
}
}  // namespace

namespace dk {
void RegisterClassQuiet(TClass AClass);

PTypeInfo MakeEnumInfo(const char* Name, const char* CommaNames) {
  return Keep([&](TTypeInfo& t) {
    t.Kind = tkEnumeration;
    t.Name = Name;
    t.OrdType = otUByte;
    AnsiString cur;
    for (const char* p = CommaNames;; ++p) {
      if (*p == ',' || *p == 0) {
        // An explicit value ("a = 3") is not supported: names only.
        auto b = cur.find_first_not_of(" \t\r\n");
        auto e = cur.find_last_not_of(" \t\r\n");
        if (b != AnsiString::npos) t.EnumNames.push_back(cur.substr(b, e - b + 1));
        cur.clear();
        if (*p == 0) break;
      } else {
        cur.push_back(*p);
      }
    }
    t.MinValue = 0;
    t.MaxValue = static_cast<Int64>(t.EnumNames.size()) - 1;
  });
}

PTypeInfo MakeSetInfo(PTypeInfo Comp) {
  return Keep([&](TTypeInfo& t) {
    t.Kind = tkSet;
    t.Name = "set of " + Comp->Name;
    t.CompType = Comp;
  });
}

PTypeInfo BooleanInfo() {
  static PTypeInfo ti = Keep([](TTypeInfo& t) {
    t.Kind = tkEnumeration;
    t.Name = "Boolean";
    t.OrdType = otUByte;
    t.EnumNames = {"False", "True"};
    t.MinValue = 0;
    t.MaxValue = 1;
  });
  return ti;
}

PTypeInfo OrdInfo(TTypeKind Kind, const char* Name, TOrdType Ot, Int64 Min, Int64 Max) {
  static auto& cache = *new std::map<std::string, PTypeInfo>();
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  auto& slot = cache[Name];
  if (!slot)
    slot = Keep([&](TTypeInfo& t) {
      t.Kind = Kind;
      t.Name = Name;
      t.OrdType = Ot;
      t.MinValue = Min;
      t.MaxValue = Max;
    });
  return slot;
}

PTypeInfo FloatInfo(TFloatType Ft) {
  static PTypeInfo infos[5] = {};
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  if (!infos[Ft]) {
    static const char* names[] = {"Single", "Double", "Extended", "Comp", "Currency"};
    infos[Ft] = Keep([&](TTypeInfo& t) {
      t.Kind = tkFloat;
      t.Name = names[Ft];
      t.FloatType = Ft;
    });
  }
  return infos[Ft];
}

PTypeInfo StringInfo(TTypeKind Kind) {
  static PTypeInfo l = Keep([](TTypeInfo& t) {
    t.Kind = tkLString;
    t.Name = "AnsiString";
  });
  static PTypeInfo w = Keep([](TTypeInfo& t) {
    t.Kind = tkWString;
    t.Name = "WideString";
  });
  return Kind == tkLString ? l : w;
}

PTypeInfo ClassInfoOf(TClass Cls) {
  static auto& cache = *new std::map<TClass, PTypeInfo>();
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  auto& slot = cache[Cls];
  if (!slot)
    slot = Keep([&](TTypeInfo& t) {
      t.Kind = tkClass;
      t.Name = Cls->Name;
      t.ClassType = Cls;
    });
  return slot;
}

PTypeInfo MethodInfoOf(const std::type_info& Sig, const char* Name) {
  static auto& cache = *new std::map<std::string, PTypeInfo>();
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  auto& slot = cache[Sig.name()];
  if (!slot)
    slot = Keep([&](TTypeInfo& t) {
      t.Kind = tkMethod;
      t.Name = Name;
      t.MethodSignature = &Sig;
    });
  return slot;
}

void AddPublisher(TClass Cls, std::function<void(TPublishedData&)> Builder) {
  {
    std::lock_guard<std::recursive_mutex> lock(TypeLock());
    if (!Cls->Published) Cls->Published = new TPublishedData();
    Cls->Published->Builders.push_back(std::move(Builder));
  }
  RegisterClassQuiet(Cls);
}
}  // namespace dk

PTypeInfo IntegerTypeInfo(const AnsiString& Name) {
  static auto& cache = *new std::map<std::string, PTypeInfo>();
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  auto& slot = cache[Name];
  if (!slot)
    slot = Keep([&](TTypeInfo& t) {
      t.Kind = tkInteger;
      t.Name = Name;
      t.OrdType = otSLong;
      t.MinValue = INT32_MIN;
      t.MaxValue = INT32_MAX;
    });
  return slot;
}

PTypeInfo TypeInfoTColor() {
  static PTypeInfo ti = [] {
    PTypeInfo t = IntegerTypeInfo("TColor");
    RegisterIntegerConsts(t, {{0x000000, "clBlack"},
                              {0x000080, "clMaroon"},
                              {0x008000, "clGreen"},
                              {0x008080, "clOlive"},
                              {0x800000, "clNavy"},
                              {0x800080, "clPurple"},
                              {0x808000, "clTeal"},
                              {0x808080, "clGray"},
                              {0xC0C0C0, "clSilver"},
                              {0x0000FF, "clRed"},
                              {0x00FF00, "clLime"},
                              {0x00FFFF, "clYellow"},
                              {0xFF0000, "clBlue"},
                              {0xFF00FF, "clFuchsia"},
                              {0xFFFF00, "clAqua"},
                              {0xFFFFFF, "clWhite"},
                              {Integer(0x8000000F), "clBtnFace"},
                              {Integer(0x80000005), "clWindow"},
                              {Integer(0x80000008), "clWindowText"},
                              {Integer(0x80000012), "clBtnText"},
                              {0x1FFFFFFF, "clNone"},
                              {0x20000000, "clDefault"}});
    return t;
  }();
  return ti;
}

PTypeInfo TypeInfoTDateTime() {
  static PTypeInfo ti = Keep([](TTypeInfo& t) {
    t.Kind = tkFloat;
    t.Name = "TDateTime";
    t.FloatType = ftDouble;
    t.IsDate = true;
  });
  return ti;
}

void RegisterIntegerConsts(PTypeInfo IntegerType, std::initializer_list<TIdentMapEntry> Map) {
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  for (auto& e : Map) {
    bool taken = false;
    for (auto& x : IntegerType->Idents)
      if (SameIdent(x.first, e.Name)) taken = true;
    if (!taken) IntegerType->Idents.emplace_back(e.Name, e.Value);
  }
}

bool IdentToInt(PTypeInfo IntegerType, const AnsiString& Ident, Integer& Value) {
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  for (auto& x : IntegerType->Idents)
    if (SameIdent(x.first, Ident)) {
      Value = x.second;
      return true;
    }
  return false;
}

bool IntToIdent(PTypeInfo IntegerType, Integer Value, AnsiString& Ident) {
  std::lock_guard<std::recursive_mutex> lock(TypeLock());
  for (auto& x : IntegerType->Idents)
    if (x.second == Value) {
      Ident = x.first;
      return true;
    }
  return false;
}

// ------------------------------------------------------------------ prop lists

static void Resolve(TClass Cls, TPublishedData& d) {
  // Ancestors first, then this class's own properties.
  TPropList all;
  if (Cls->Parent) all = GetPropList(Cls->Parent);
  for (auto& b : d.Builders) b(d);
  for (auto& p : d.Props) {
    // A redeclared property replaces the ancestor's in its place.
    auto it = std::find_if(all.begin(), all.end(), [&](PPropInfo q) { return SameIdent(q->Name, p->Name); });
    if (it != all.end())
      *it = p.get();
    else
      all.push_back(p.get());
  }
  for (size_t i = 0; i < all.size(); ++i)
    if (all[i]->OwnerClass == Cls) const_cast<TPropInfo*>(all[i])->NameIndex = static_cast<Integer>(i);
  d.All = std::move(all);
}

static TPublishedData& DataOf(TClass Cls) {
  {
    std::lock_guard<std::recursive_mutex> lock(TypeLock());
    if (!Cls->Published) Cls->Published = new TPublishedData();
  }
  TPublishedData& d = *Cls->Published;
  std::call_once(d.Once, [&] { Resolve(Cls, d); });
  return d;
}

const TPropList& GetPropList(TClass Cls) { return DataOf(Cls).All; }

TPropList GetPropList(TClass Cls, TTypeKinds Filter, bool SortList) {
  TPropList r;
  for (PPropInfo p : GetPropList(Cls))
    if (Filter.Contains(p->PropType->Kind)) r.push_back(p);
  if (SortList)
    std::sort(r.begin(), r.end(), [](PPropInfo a, PPropInfo b) {
      AnsiString x = a->Name, y = b->Name;
      for (auto& c : x) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
      for (auto& c : y) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
      return x < y;
    });
  return r;
}

TPropList GetPropList(TObject* Instance, TTypeKinds Filter) {
  return GetPropList(Instance->ClassType(), Filter, false);
}

PPropInfo GetPropInfo(TClass Cls, const AnsiString& PropName, TTypeKinds Kinds) {
  if (!Cls) return nullptr;
  for (PPropInfo p : GetPropList(Cls))
    if (SameIdent(p->Name, PropName)) return Kinds.Contains(p->PropType->Kind) ? p : nullptr;
  return nullptr;
}

PPropInfo GetPropInfo(TObject* Instance, const AnsiString& PropName, TTypeKinds Kinds) {
  return Instance ? GetPropInfo(Instance->ClassType(), PropName, Kinds) : nullptr;
}

bool IsPublishedProp(TObject* Instance, const AnsiString& PropName) {
  return GetPropInfo(Instance, PropName) != nullptr;
}
bool IsPublishedProp(TClass Cls, const AnsiString& PropName) { return GetPropInfo(Cls, PropName) != nullptr; }

static PPropInfo FindProp(TObject* Instance, const AnsiString& PropName) {
  PPropInfo p = GetPropInfo(Instance, PropName);
  if (!p) throw EPropertyError("Unknown property: \"" + PropName + "\"");
  return p;
}

bool PropIsType(TObject* Instance, const AnsiString& PropName, TTypeKind Kind) {
  return FindProp(Instance, PropName)->PropType->Kind == Kind;
}
TTypeKind PropType(TObject* Instance, const AnsiString& PropName) { return FindProp(Instance, PropName)->PropType->Kind; }

bool IsStoredProp(TObject* Instance, PPropInfo Prop) { return Prop->IsStored(Instance); }

[[noreturn]] static void KindError(PPropInfo Prop) {
  throw EPropertyError("Invalid property type: " + Prop->Name);
}
[[noreturn]] static void ReadOnlyError(PPropInfo Prop) {
  throw EPropertyError("Property " + Prop->Name + " is read-only");
}

Int64 GetOrdProp(TObject* Instance, PPropInfo Prop) {
  if (Prop->GetOrd) return Prop->GetOrd(Instance);
  if (Prop->GetObj) return static_cast<Int64>(reinterpret_cast<intptr_t>(Prop->GetObj(Instance)));
  KindError(Prop);
}
void SetOrdProp(TObject* Instance, PPropInfo Prop, Int64 Value) {
  if (!Prop->GetOrd) KindError(Prop);
  if (!Prop->SetOrd) ReadOnlyError(Prop);
  Prop->SetOrd(Instance, Value);
}
AnsiString GetStrProp(TObject* Instance, PPropInfo Prop) {
  if (Prop->GetStr) return Prop->GetStr(Instance);
  if (Prop->GetWStr) return dk_streaming::WideToAnsi(Prop->GetWStr(Instance));
  KindError(Prop);
}
void SetStrProp(TObject* Instance, PPropInfo Prop, const AnsiString& Value) {
  if (Prop->GetStr) {
    if (!Prop->SetStr) ReadOnlyError(Prop);
    return Prop->SetStr(Instance, Value);
  }
  if (Prop->GetWStr) {
    if (!Prop->SetWStr) ReadOnlyError(Prop);
    return Prop->SetWStr(Instance, ::AnsiToWide(Value));
  }
  KindError(Prop);
}
WideString GetWideStrProp(TObject* Instance, PPropInfo Prop) {
  if (Prop->GetWStr) return Prop->GetWStr(Instance);
  if (Prop->GetStr) return ::AnsiToWide(Prop->GetStr(Instance));
  KindError(Prop);
}
void SetWideStrProp(TObject* Instance, PPropInfo Prop, const WideString& Value) {
  if (Prop->GetWStr) {
    if (!Prop->SetWStr) ReadOnlyError(Prop);
    return Prop->SetWStr(Instance, Value);
  }
  if (Prop->GetStr) {
    if (!Prop->SetStr) ReadOnlyError(Prop);
    return Prop->SetStr(Instance, dk_streaming::WideToAnsi(Value));
  }
  KindError(Prop);
}
long double GetFloatProp(TObject* Instance, PPropInfo Prop) {
  if (!Prop->GetFloat) KindError(Prop);
  return Prop->GetFloat(Instance);
}
void SetFloatProp(TObject* Instance, PPropInfo Prop, long double Value) {
  if (!Prop->GetFloat) KindError(Prop);
  if (!Prop->SetFloat) ReadOnlyError(Prop);
  Prop->SetFloat(Instance, Value);
}
Int64 GetInt64Prop(TObject* Instance, PPropInfo Prop) { return GetOrdProp(Instance, Prop); }
void SetInt64Prop(TObject* Instance, PPropInfo Prop, Int64 Value) { SetOrdProp(Instance, Prop, Value); }
TObject* GetObjectProp(TObject* Instance, PPropInfo Prop, TClass MinClass) {
  if (!Prop->GetObj) KindError(Prop);
  TObject* o = Prop->GetObj(Instance);
  if (o && MinClass && !o->InheritsFrom(MinClass)) return nullptr;
  return o;
}
void SetObjectProp(TObject* Instance, PPropInfo Prop, TObject* Value) {
  if (!Prop->GetObj) KindError(Prop);
  if (!Prop->SetObj) ReadOnlyError(Prop);
  Prop->SetObj(Instance, Value);
}
TMethod GetMethodProp(TObject* Instance, PPropInfo Prop) {
  if (!Prop->GetMeth) KindError(Prop);
  return Prop->GetMeth(Instance);
}
void SetMethodProp(TObject* Instance, PPropInfo Prop, const TMethod& Value) {
  if (!Prop->GetMeth) KindError(Prop);
  if (!Prop->SetMeth) ReadOnlyError(Prop);
  auto* d = static_cast<const dk::MethodDesc*>(Value.Code);
  if (d && Prop->PropType->MethodSignature && *d->Signature != *Prop->PropType->MethodSignature)
    throw EPropertyError("Incompatible method for property " + Prop->Name);
  Prop->SetMeth(Instance, Value);
}
AnsiString GetEnumProp(TObject* Instance, PPropInfo Prop) {
  if (Prop->PropType->Kind != tkEnumeration) KindError(Prop);
  return GetEnumName(Prop->PropType, static_cast<int>(GetOrdProp(Instance, Prop)));
}
void SetEnumProp(TObject* Instance, PPropInfo Prop, const AnsiString& Value) {
  if (Prop->PropType->Kind != tkEnumeration) KindError(Prop);
  int v = GetEnumValue(Prop->PropType, Value);
  if (v < 0) throw EPropertyConvertError("Invalid enumeration name: " + Value);
  SetOrdProp(Instance, Prop, v);
}
AnsiString GetSetProp(TObject* Instance, PPropInfo Prop, bool Brackets) {
  if (Prop->PropType->Kind != tkSet) KindError(Prop);
  return SetToString(Prop->PropType, GetOrdProp(Instance, Prop), Brackets);
}
void SetSetProp(TObject* Instance, PPropInfo Prop, const AnsiString& Value) {
  if (Prop->PropType->Kind != tkSet) KindError(Prop);
  SetOrdProp(Instance, Prop, StringToSet(Prop->PropType, Value));
}

Int64 GetOrdProp(TObject* I, const AnsiString& N) { return GetOrdProp(I, FindProp(I, N)); }
void SetOrdProp(TObject* I, const AnsiString& N, Int64 V) { SetOrdProp(I, FindProp(I, N), V); }
AnsiString GetStrProp(TObject* I, const AnsiString& N) { return GetStrProp(I, FindProp(I, N)); }
void SetStrProp(TObject* I, const AnsiString& N, const AnsiString& V) { SetStrProp(I, FindProp(I, N), V); }
WideString GetWideStrProp(TObject* I, const AnsiString& N) { return GetWideStrProp(I, FindProp(I, N)); }
void SetWideStrProp(TObject* I, const AnsiString& N, const WideString& V) { SetWideStrProp(I, FindProp(I, N), V); }
long double GetFloatProp(TObject* I, const AnsiString& N) { return GetFloatProp(I, FindProp(I, N)); }
void SetFloatProp(TObject* I, const AnsiString& N, long double V) { SetFloatProp(I, FindProp(I, N), V); }
TObject* GetObjectProp(TObject* I, const AnsiString& N, TClass M) { return GetObjectProp(I, FindProp(I, N), M); }
void SetObjectProp(TObject* I, const AnsiString& N, TObject* V) { SetObjectProp(I, FindProp(I, N), V); }
TMethod GetMethodProp(TObject* I, const AnsiString& N) { return GetMethodProp(I, FindProp(I, N)); }
void SetMethodProp(TObject* I, const AnsiString& N, const TMethod& V) { SetMethodProp(I, FindProp(I, N), V); }
AnsiString GetEnumProp(TObject* I, const AnsiString& N) { return GetEnumProp(I, FindProp(I, N)); }
void SetEnumProp(TObject* I, const AnsiString& N, const AnsiString& V) { SetEnumProp(I, FindProp(I, N), V); }

AnsiString GetEnumName(PTypeInfo TypeInfo, int Value) {
  if (!TypeInfo) return AnsiString();
  if (TypeInfo->Kind == tkEnumeration) {
    if (Value >= 0 && static_cast<size_t>(Value) < TypeInfo->EnumNames.size())
      return TypeInfo->EnumNames[static_cast<size_t>(Value)];
    return std::to_string(Value);
  }
  return std::to_string(Value);
}

int GetEnumValue(PTypeInfo TypeInfo, const AnsiString& Name) {
  if (!TypeInfo || TypeInfo->Kind != tkEnumeration) return -1;
  for (size_t i = 0; i < TypeInfo->EnumNames.size(); ++i)
    if (SameIdent(TypeInfo->EnumNames[i], Name)) return static_cast<int>(i);
  return -1;
}

AnsiString SetToString(PTypeInfo SetType, Int64 Value, bool Brackets) {
  AnsiString r;
  PTypeInfo comp = SetType->CompType;
  for (int i = 0; i < 64; ++i) {
    if (!(static_cast<UInt64>(Value) & (UInt64(1) << i))) continue;
    if (!r.empty()) r += ",";
    r += GetEnumName(comp, i);
  }
  return Brackets ? "[" + r + "]" : r;
}

Int64 StringToSet(PTypeInfo SetType, const AnsiString& Value) {
  UInt64 bits = 0;
  AnsiString cur;
  auto flush = [&] {
    auto b = cur.find_first_not_of(" \t");
    auto e = cur.find_last_not_of(" \t");
    if (b != AnsiString::npos) {
      AnsiString name = cur.substr(b, e - b + 1);
      int v = GetEnumValue(SetType->CompType, name);
      if (v < 0 || v >= 64) throw EPropertyConvertError("Invalid enumeration name: " + name);
      bits |= UInt64(1) << v;
    }
    cur.clear();
  };
  for (char c : Value) {
    if (c == '[' || c == ']') continue;
    if (c == ',')
      flush();
    else
      cur.push_back(c);
  }
  flush();
  return static_cast<Int64>(bits);
}

const TPublishedMethod* FindPublishedMethodInfo(TClass Cls, const AnsiString& Name) {
  for (TClass c = Cls; c; c = c->Parent) {
    TPublishedData& d = DataOf(c);
    for (auto& m : d.Methods)
      if (SameIdent(m.Name, Name)) return &m;
  }
  return nullptr;
}

TMethod FindPublishedMethod(TObject* Instance, const AnsiString& Name) {
  TMethod m;
  if (!Instance) return m;
  if (auto* info = FindPublishedMethodInfo(Instance->ClassType(), Name)) {
    m.Code = info->Code;
    m.Data = Instance;
  }
  return m;
}

AnsiString PublishedMethodName(TClass Cls, void* Code) {
  if (!Code) return AnsiString();
  for (TClass c = Cls; c; c = c->Parent) {
    TPublishedData& d = DataOf(c);
    for (auto& m : d.Methods)
      if (m.Code == Code) return m.Name;
  }
  return AnsiString();
}
