// The component reader and writer over the binary form format.
#include "classlib/core/ClassesStreaming.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <mutex>

#include "classlib/core/Classes.h"
#include "classlib/core/ClassesStreams.h"
#include "classlib/core/StreamFloat.h"
#include "classlib/core/StreamingText.h"
#include "classlib/core/TypInfo.h"

static_assert(std::endian::native == std::endian::little, "the form format is little endian");

using dk_streaming::SameIdent;

namespace {

constexpr int kMaxDepth = 200;

const char* const kReadError = "Stream read error";
const char* const kInvalidImage = "Invalid stream format";
const char* const kInvalidValue = "Invalid property value";

// ------------------------------------------------------------------ stream access

Int64 StreamRead(TStream* s, void* buf, Int64 n) {
  return static_cast<Int64>(s->Read(buf, static_cast<Integer>(std::min<Int64>(n, 1 << 30))));
}
void StreamWrite(TStream* s, const void* buf, Int64 n) {
  auto* p = static_cast<const char*>(buf);
  while (n > 0) {
    Integer k = static_cast<Integer>(std::min<Int64>(n, 1 << 30));
    s->WriteBuffer(p, k);
    p += k;
    n -= k;
  }
}
Int64 StreamPos(TStream* s) { return static_cast<Int64>(s->Position()); }
Int64 StreamSize(TStream* s) { return static_cast<Int64>(s->Size()); }
void StreamSeekBack(TStream* s, Int64 n) { s->Seek(-n, soCurrent); }

// ----------------------------------------------------------------- global fixups

struct GlobalFixup {
  TPersistent* Instance;
  const TPropInfo* Prop;
  TComponent* Root;
  AnsiString Name;
};

struct GlobalFixups {
  std::recursive_mutex Lock;
  std::vector<GlobalFixup> List;
  std::atomic<size_t> Count{0};
  TFindGlobalComponent Finder;
};

GlobalFixups& Globals() {
  static GlobalFixups* g = new GlobalFixups();  // outlives every static component
  return *g;
}

std::vector<AnsiString> SplitDots(const AnsiString& s) {
  std::vector<AnsiString> parts;
  size_t b = 0;
  for (;;) {
    size_t e = s.find('.', b);
    parts.push_back(s.substr(b, e == AnsiString::npos ? AnsiString::npos : e - b));
    if (e == AnsiString::npos) break;
    b = e + 1;
  }
  return parts;
}

// Finds "Name" or "Other.Name.Sub" starting at Root (then among the global roots).
TComponent* FindNestedComponent(TComponent* Root, const AnsiString& Path) {
  auto parts = SplitDots(Path);
  TComponent* c = nullptr;
  if (Root) {
    c = Root->FindComponent(parts[0]);
    if (!c && SameIdent(Root->Name(), parts[0])) c = Root;
  }
  if (!c) c = FindGlobalComponent(parts[0]);
  for (size_t i = 1; c && i < parts.size(); ++i) c = c->FindComponent(parts[i]);
  return c;
}

void SetReference(TPersistent* Instance, const TPropInfo* Prop, TComponent* Target) {
  Prop->SetObj(Instance, Target);
}

}  // namespace

void RegisterFindGlobalComponent(TFindGlobalComponent Proc) {
  std::lock_guard<std::recursive_mutex> lock(Globals().Lock);
  Globals().Finder = std::move(Proc);
}

TComponent* FindGlobalComponent(const AnsiString& Name) {
  TFindGlobalComponent f;
  {
    std::lock_guard<std::recursive_mutex> lock(Globals().Lock);
    f = Globals().Finder;
  }
  return f ? f(Name) : nullptr;
}

void GlobalFixupReferences() {
  auto& g = Globals();
  if (g.Count.load() == 0) return;
  std::lock_guard<std::recursive_mutex> lock(g.Lock);
  std::vector<TPersistent*> touched;
  for (size_t i = 0; i < g.List.size();) {
    GlobalFixup f = g.List[i];
    TComponent* target = FindNestedComponent(f.Root, f.Name);
    if (target) {
      g.List.erase(g.List.begin() + static_cast<std::ptrdiff_t>(i));
      touched.push_back(f.Instance);
      try {
        SetReference(f.Instance, f.Prop, target);
      } catch (...) {
        // A setter that refuses the reference leaves the property as it was.
      }
    } else {
      ++i;
    }
  }
  g.Count = g.List.size();
  for (TPersistent* p : touched) {
    bool pending = std::any_of(g.List.begin(), g.List.end(), [&](auto& f) { return f.Instance == p; });
    if (!pending)
      if (auto* c = dynamic_cast<TComponent*>(p)) c->ClearComponentState(csFixups);
  }
}

void RemoveFixupReferences(TComponent* Root, const AnsiString& RootName) {
  auto& g = Globals();
  if (g.Count.load() == 0) return;
  std::lock_guard<std::recursive_mutex> lock(g.Lock);
  g.List.erase(std::remove_if(g.List.begin(), g.List.end(),
                              [&](auto& f) {
                                return (Root && f.Root == Root) ||
                                       (!RootName.empty() && SameIdent(SplitDots(f.Name)[0], RootName));
                              }),
               g.List.end());
  g.Count = g.List.size();
}

void RemoveFixups(TPersistent* Instance) {
  auto& g = Globals();
  if (g.Count.load() == 0) return;
  std::lock_guard<std::recursive_mutex> lock(g.Lock);
  g.List.erase(std::remove_if(g.List.begin(), g.List.end(),
                              [&](auto& f) { return f.Instance == Instance || f.Root == Instance; }),
               g.List.end());
  g.Count = g.List.size();
}

// ======================================================================= TReader

struct TReader::Fixup {
  TPersistent* Instance;
  const TPropInfo* Prop;
  AnsiString Name;
};

TReader::TReader(TStream* Stream, int BufSize) : TFiler(Stream) {
  FBuf.resize(static_cast<size_t>(std::max(BufSize, 256)));
  FStreamBase = StreamPos(Stream);
}

TReader::~TReader() {
  // Give back what was read ahead, so the stream stands right after the data read.
  if (FBufEnd > FBufPos) {
    try {
      StreamSeekBack(FStream, static_cast<Int64>(FBufEnd - FBufPos));
    } catch (...) {
    }
  }
  delete FFixups;
}

Int64 TReader::Position() const { return FStreamBase + static_cast<Int64>(FBufPos); }

void TReader::Error(const AnsiString& Message) { throw EReadError(Message); }

void TReader::FillBuffer(size_t need) {
  // Keep the unread tail, then top up from the stream.
  size_t rest = FBufEnd - FBufPos;
  if (rest && FBufPos) std::memmove(FBuf.data(), FBuf.data() + FBufPos, rest);
  FStreamBase += static_cast<Int64>(FBufPos);
  FBufPos = 0;
  FBufEnd = rest;
  while (FBufEnd < need) {
    Int64 got = StreamRead(FStream, FBuf.data() + FBufEnd, static_cast<Int64>(FBuf.size() - FBufEnd));
    if (got <= 0) Error(kReadError);
    FBufEnd += static_cast<size_t>(got);
  }
}

Byte TReader::ReadByte() {
  if (FBufPos >= FBufEnd) FillBuffer(1);
  return FBuf[FBufPos++];
}

void TReader::ReadBytes(void* dst, size_t n) {
  auto* out = static_cast<Byte*>(dst);
  size_t avail = FBufEnd - FBufPos;
  if (n <= avail) {
    std::memcpy(out, FBuf.data() + FBufPos, n);
    FBufPos += n;
    return;
  }
  std::memcpy(out, FBuf.data() + FBufPos, avail);
  out += avail;
  n -= avail;
  FStreamBase += static_cast<Int64>(FBufEnd);
  FBufPos = FBufEnd = 0;
  if (n >= FBuf.size()) {
    // Large blocks go straight from the stream.
    while (n) {
      Int64 got = StreamRead(FStream, out, static_cast<Int64>(n));
      if (got <= 0) Error(kReadError);
      out += got;
      n -= static_cast<size_t>(got);
      FStreamBase += got;
    }
    return;
  }
  FillBuffer(n);
  std::memcpy(out, FBuf.data(), n);
  FBufPos = n;
}

void TReader::Read(void* Buf, Int64 Count) {
  if (Count < 0) Error(kReadError);
  ReadBytes(Buf, static_cast<size_t>(Count));
}

TValueType TReader::ReadValue() {
  Byte b = ReadByte();
  if (b > vaDouble) Error(kInvalidValue);
  return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() {
  if (FBufPos >= FBufEnd) FillBuffer(1);
  Byte b = FBuf[FBufPos];
  if (b > vaDouble) Error(kInvalidValue);
  return static_cast<TValueType>(b);
}

bool TReader::EndOfList() {
  if (FBufPos >= FBufEnd) FillBuffer(1);
  return FBuf[FBufPos] == vaNull;
}

void TReader::CheckValue(TValueType Value) {
  if (ReadValue() != Value) Error(kInvalidValue);
}

void TReader::ReadListBegin() { CheckValue(vaList); }
void TReader::ReadListEnd() { CheckValue(vaNull); }

void TReader::ReadSignature() {
  char sig[4];
  ReadBytes(sig, 4);
  if (std::memcmp(sig, "TPF0", 4) != 0) Error(kInvalidImage);
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& AChildPos) {
  Flags = TFilerFlags();
  AChildPos = 0;
  if (FBufPos >= FBufEnd) FillBuffer(1);
  Byte b = FBuf[FBufPos];
  if ((b & 0xF0) == 0xF0) {
    ++FBufPos;
    Flags = TFilerFlags::FromBits(b & 0x07);
    if (Flags.Contains(ffChildPos)) AChildPos = ReadInteger();
  }
}

AnsiString TReader::ReadStr() {
  Byte n = ReadByte();
  AnsiString s(n, '\0');
  ReadBytes(s.data(), n);
  return s;
}

Int64 TReader::ReadIntegerValue(TValueType t) {
  switch (t) {
    case vaInt8:
      return ReadFixed<int8_t>();
    case vaInt16:
      return ReadFixed<int16_t>();
    case vaInt32:
      return ReadFixed<int32_t>();
    case vaInt64:
      return ReadFixed<int64_t>();
    default:
      Error(kInvalidValue);
  }
}

Integer TReader::ReadInteger() {
  TValueType t = ReadValue();
  if (t == vaInt64) Error(kInvalidValue);
  return static_cast<Integer>(ReadIntegerValue(t));
}

Int64 TReader::ReadInt64() { return ReadIntegerValue(ReadValue()); }

bool TReader::ReadBoolean() {
  TValueType t = ReadValue();
  if (t == vaTrue) return true;
  if (t == vaFalse) return false;
  Error(kInvalidValue);
}

double TReader::ReadFloatValue(TValueType t) {
  switch (t) {
    case vaExtended: {
      Byte b[10];
      ReadBytes(b, 10);
      return dk_float::ExtendedToDouble(b);
    }
    case vaDouble:
    case vaDate:
      return ReadFixed<double>();
    case vaSingle:
      return ReadFixed<float>();
    case vaCurrency:
      return static_cast<double>(ReadFixed<Int64>()) / 10000.0;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      return static_cast<double>(ReadIntegerValue(t));
    default:
      Error(kInvalidValue);
  }
}

double TReader::ReadFloat() { return ReadFloatValue(ReadValue()); }
float TReader::ReadSingle() { return static_cast<float>(ReadFloatValue(ReadValue())); }

Currency TReader::ReadCurrency() {
  TValueType t = ReadValue();
  if (t == vaCurrency) return Currency::FromScaled(ReadFixed<Int64>());
  return Currency(ReadFloatValue(t));
}

TDateTime TReader::ReadDate() { return ReadFloatValue(ReadValue()); }

AnsiString TReader::ReadRawString(TValueType t) {
  Int64 len;
  switch (t) {
    case vaString:
      len = ReadByte();
      break;
    case vaLString:
    case vaUTF8String:
    case vaWString: {
      int32_t n = ReadFixed<int32_t>();
      if (n < 0) Error(kInvalidValue);
      len = t == vaWString ? Int64(n) * 2 : n;
      break;
    }
    default:
      Error(kInvalidValue);
  }
  // Grow in steps so that a false length cannot claim memory the stream does not hold.
  AnsiString s;
  const Int64 step = 1 << 20;
  while (static_cast<Int64>(s.size()) < len) {
    size_t old = s.size();
    size_t chunk = static_cast<size_t>(std::min<Int64>(step, len - static_cast<Int64>(old)));
    s.resize(old + chunk);
    ReadBytes(s.data() + old, chunk);
  }
  return s;
}

namespace {
std::u16string WideFromBytes(const AnsiString& bytes) {
  std::u16string w(bytes.size() / 2, u'\0');
  std::memcpy(w.data(), bytes.data(), w.size() * 2);
  return w;
}
}  // namespace

AnsiString TReader::ReadString() {
  TValueType t = ReadValue();
  AnsiString raw = ReadRawString(t);
  if (t == vaWString) return dk_streaming::WideToAnsi(WideFromBytes(raw));
  if (t == vaUTF8String) return dk_streaming::WideToAnsi(dk_streaming::Utf8ToWide(raw));
  return raw;
}

WideString TReader::ReadWideString() {
  TValueType t = ReadValue();
  AnsiString raw = ReadRawString(t);
  if (t == vaWString) return WideFromBytes(raw);
  if (t == vaUTF8String) return dk_streaming::Utf8ToWide(raw);
  return ::AnsiToWide(raw);
}

char TReader::ReadChar() {
  TValueType t = NextValue();
  if (t == vaInt8 || t == vaInt16 || t == vaInt32) return static_cast<char>(ReadInteger());
  AnsiString s = ReadString();
  if (s.size() != 1) Error(kInvalidValue);
  return s[0];
}

char16_t TReader::ReadWideChar() {
  TValueType t = NextValue();
  if (t == vaInt8 || t == vaInt16 || t == vaInt32) return static_cast<char16_t>(ReadInteger());
  WideString s = ReadWideString();
  if (s.size() != 1) Error(kInvalidValue);
  return s[0];
}

AnsiString TReader::ReadIdent() {
  TValueType t = ReadValue();
  switch (t) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    case vaNull:
      return "Null";
    default:
      Error(kInvalidValue);
  }
}

void TReader::SkipSetBody() {
  while (!ReadStr().empty()) {
  }
}

void TReader::SkipValue() {
  if (++FDepth > kMaxDepth) Error(kInvalidImage);
  struct Guard {
    int& d;
    ~Guard() { --d; }
  } guard{FDepth};
  TValueType t = ReadValue();
  auto skip = [&](Int64 n) {
    Byte tmp[4096];
    while (n > 0) {
      size_t k = static_cast<size_t>(std::min<Int64>(n, sizeof tmp));
      ReadBytes(tmp, k);
      n -= static_cast<Int64>(k);
    }
  };
  switch (t) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8:
      skip(1);
      break;
    case vaInt16:
      skip(2);
      break;
    case vaInt32:
    case vaSingle:
      skip(4);
      break;
    case vaExtended:
      skip(10);
      break;
    case vaInt64:
    case vaCurrency:
    case vaDate:
    case vaDouble:
      skip(8);
      break;
    case vaString:
    case vaIdent:
      skip(ReadByte());
      break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
    case vaWString: {
      int32_t n = ReadFixed<int32_t>();
      if (n < 0) Error(kInvalidValue);
      skip(t == vaWString ? Int64(n) * 2 : n);
      break;
    }
    case vaSet:
      SkipSetBody();
      break;
    case vaCollection:
      while (!EndOfList()) {
        TValueType n = NextValue();
        if (n == vaInt8 || n == vaInt16 || n == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) SkipProperty();
        ReadListEnd();
      }
      ReadListEnd();
      break;
  }
}

void TReader::SkipProperty() {
  ReadStr();
  SkipValue();
}

// ------------------------------------------------------------ defined properties

void TReader::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) {
  if (!FPropHandled && ReadData && SameIdent(Name, FPropName)) {
    FPropHandled = true;
    ReadData(this);
  }
}

void TReader::ReadBinaryInto(TStream* Dest) {
  CheckValue(vaBinary);
  int32_t n = ReadFixed<int32_t>();
  if (n < 0) Error(kInvalidValue);
  // Refuse a length the source cannot hold before sizing the destination.
  Int64 left = static_cast<Int64>(FBufEnd - FBufPos) + (StreamSize(FStream) - StreamPos(FStream));
  if (n > left) Error(kReadError);
  auto* ms = dynamic_cast<TMemoryStream*>(Dest);
  if (ms) {
    ms->SetSize(n);
    ReadBytes(ms->Memory(), static_cast<size_t>(n));
    ms->SetPosition(0);
    return;
  }
  Byte tmp[8192];
  Int64 rest = n;
  while (rest > 0) {
    size_t k = static_cast<size_t>(std::min<Int64>(rest, sizeof tmp));
    ReadBytes(tmp, k);
    Dest->WriteBuffer(tmp, static_cast<Integer>(k));
    rest -= static_cast<Int64>(k);
  }
  Dest->SetPosition(0);
}

namespace {
// A read-only stream over bytes that stay where they are.
class TBinaryView : public TCustomMemoryStream {
 public:
  TBinaryView(void* Ptr, Int64 Size) { SetPointer(Ptr, Size); }
};
}  // namespace

void TReader::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                                   bool HasData) {
  if (FPropHandled || !ReadData || !SameIdent(Name, FPropName)) return;
  FPropHandled = true;
  if (auto* src = dynamic_cast<TCustomMemoryStream*>(FStream)) {
    // The data is in memory already: hand it over in place.
    CheckValue(vaBinary);
    int32_t n = ReadFixed<int32_t>();
    Int64 pos = Position();
    if (n < 0 || pos < 0 || n > src->Size() - pos) Error(kReadError);
    TBinaryView view(static_cast<char*>(src->Memory()) + pos, n);
    size_t avail = FBufEnd - FBufPos;
    if (static_cast<size_t>(n) <= avail) {
      FBufPos += static_cast<size_t>(n);
    } else {
      Int64 rest = n - static_cast<Int64>(avail);
      FStreamBase += static_cast<Int64>(FBufEnd);
      FBufPos = FBufEnd = 0;
      FStream->Seek(rest, soCurrent);
      FStreamBase += rest;
    }
    ReadData(&view);
    return;
  }
  TMemoryStream ms;
  ReadBinaryInto(&ms);
  ReadData(&ms);
}

// --------------------------------------------------------------------- properties

bool TReader::HandleError(const AnsiString& Message) {
  bool handled = false;
  if (OnError) OnError(this, Message, handled);
  return handled;
}

TMethod TReader::FindMethodInstance(TComponent* Root, const AnsiString& MethodName, const TPropInfo* Prop) {
  TMethod m;
  if (OnFindMethod) {
    void* address = nullptr;
    bool error = true;
    OnFindMethod(this, MethodName, address, error);
    if (address) {
      m.Code = address;
      m.Data = Root;
      return m;
    }
    if (!error) return m;
  }
  m = FindPublishedMethod(Root, MethodName);
  return m;
}

void TReader::AddReference(TPersistent* Instance, const TPropInfo* Prop, const AnsiString& Name) {
  if (!FFixups) FFixups = new std::vector<Fixup>();
  FFixups->push_back({Instance, Prop, Name});
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop) {
  TTypeKind kind = Prop->PropType->Kind;
  if (!Prop->SetProc && !(kind == tkClass && Prop->GetProc)) Error("Property is read-only");
  switch (kind) {
    case tkInteger: {
      if (NextValue() == vaIdent) {
        AnsiString ident = ReadIdent();
        Integer v;
        if (!IdentToInt(Prop->PropType, ident, v)) Error(kInvalidValue);
        Prop->SetOrd(Instance, v);
      } else {
        Int64 v = ReadInt64();
        if (v < Prop->PropType->MinValue || v > Prop->PropType->MaxValue) {
          // 32-bit values written as signed stand for the unsigned ones too.
          if (!(Prop->PropType->OrdType == otULong && v >= INT32_MIN && v < 0)) Error(kInvalidValue);
          v = static_cast<Int64>(static_cast<uint32_t>(v));
        }
        Prop->SetOrd(Instance, v);
      }
      break;
    }
    case tkInt64:
      Prop->SetOrd(Instance, ReadInt64());
      break;
    case tkChar:
      Prop->SetOrd(Instance, static_cast<Byte>(ReadChar()));
      break;
    case tkWChar:
      Prop->SetOrd(Instance, ReadWideChar());
      break;
    case tkEnumeration: {
      AnsiString ident = ReadIdent();
      int v = GetEnumValue(Prop->PropType, ident);
      if (v < 0) Error(kInvalidValue);
      Prop->SetOrd(Instance, v);
      break;
    }
    case tkSet: {
      CheckValue(vaSet);
      UInt64 bits = 0;
      for (;;) {
        AnsiString name = ReadStr();
        if (name.empty()) break;
        int v = GetEnumValue(Prop->PropType->CompType, name);
        if (v < 0 || v >= 64) Error(kInvalidValue);
        bits |= UInt64(1) << v;
      }
      Prop->SetOrd(Instance, static_cast<Int64>(bits));
      break;
    }
    case tkFloat:
      Prop->SetFloat(Instance, ReadFloat());
      break;
    case tkString:
    case tkLString:
      if (Prop->SetStr)
        Prop->SetStr(Instance, ReadString());
      else
        Prop->SetWStr(Instance, ReadWideString());
      break;
    case tkWString:
    case tkUString:
      if (Prop->SetWStr)
        Prop->SetWStr(Instance, ReadWideString());
      else
        Prop->SetStr(Instance, ReadString());
      break;
    case tkMethod: {
      if (NextValue() == vaNil) {
        ReadValue();
        Prop->SetMeth(Instance, TMethod());
        break;
      }
      AnsiString name = ReadIdent();
      TComponent* root = FLookupRoot ? FLookupRoot : FRoot;
      TMethod m = FindMethodInstance(root, name, Prop);
      if (!m.Code) {
        if (!HandleError("Method " + name + " not found")) Error("Method " + name + " not found");
        break;
      }
      auto* d = static_cast<const dk::MethodDesc*>(m.Code);
      if (Prop->PropType->MethodSignature && *d->Signature != *Prop->PropType->MethodSignature)
        Error("Method " + name + " does not fit property " + Prop->Name);
      Prop->SetMeth(Instance, m);
      break;
    }
    case tkClass: {
      TValueType t = NextValue();
      if (t == vaNil) {
        ReadValue();
        if (Prop->SetObj) Prop->SetObj(Instance, nullptr);
        break;
      }
      if (t == vaCollection) {
        ReadValue();
        auto* coll = dynamic_cast<TCollection*>(Prop->GetObj(Instance));
        if (!coll) Error(kInvalidValue);
        ReadCollection(coll);
        break;
      }
      if (!Prop->PropType->ClassType->InheritsFrom(TComponent::StaticClass()) || !Prop->SetObj) Error(kInvalidValue);
      AnsiString name = ReadIdent();
      if (!IsValidIdent(name, true)) Error(kInvalidValue);
      AddReference(Instance, Prop, name);
      break;
    }
    default:
      Error(kInvalidValue);
  }
}

void TReader::ReadProperty(TPersistent* Instance) {
  FPropName = ReadStr();
  TPersistent* target = Instance;
  auto parts = SplitDots(FPropName);
  try {
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      PPropInfo p = GetPropInfo(target, parts[i]);
      TPersistent* next = nullptr;
      if (p && p->PropType->Kind == tkClass && p->GetObj) next = dynamic_cast<TPersistent*>(p->GetObj(target));
      if (!next) {
        if (HandleError("Property " + FPropName + " does not exist")) {
          SkipValue();
          return;
        }
        Error("Property " + FPropName + " does not exist");
      }
      target = next;
    }
    AnsiString last = parts.back();
    PPropInfo p = GetPropInfo(target, last);
    if (p) {
      ReadPropValue(target, p);
      return;
    }
    FPropName = last;
    FPropHandled = false;
    target->DefineProperties(this);
    if (!FPropHandled) {
      AnsiString msg = "Property " + last + " does not exist";
      if (HandleError(msg)) {
        SkipValue();
        return;
      }
      Error(msg);
    }
  } catch (EReadError& e) {
    throw;
  } catch (Exception& e) {
    // A setter that refused the value: say where.
    auto* comp = dynamic_cast<TComponent*>(Instance);
    AnsiString where = comp ? comp->Name() : Instance->ClassName();
    throw EReadError("Error reading " + where + "." + FPropName + ": " + e.Message);
  }
}

void TReader::ReadCollection(TCollection* Collection) {
  if (++FDepth > kMaxDepth) Error(kInvalidImage);
  struct Guard {
    int& d;
    ~Guard() { --d; }
  } guard{FDepth};
  Collection->BeginUpdate();
  try {
    if (!EndOfList()) Collection->Clear();
    while (!EndOfList()) {
      TValueType t = NextValue();
      if (t == vaInt8 || t == vaInt16 || t == vaInt32) ReadInteger();
      TCollectionItem* item = Collection->Add();
      ReadListBegin();
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
}

// --------------------------------------------------------------------- components

void TReader::SetName(TComponent* Component, AnsiString& Name) {
  if (OnSetName) OnSetName(this, Component, Name);
  if (SetNameHook) SetNameHook(this, Component, Name);
  Component->SetName(Name);
}

AnsiString TReader::FindUniqueName(const AnsiString& Name) {
  auto unique = [&](const AnsiString& n) {
    if (n.empty()) return true;
    TComponent* other = nullptr;
    if (FRoot->Owner())
      other = FRoot->Owner()->FindComponent(n);
    else
      other = FindGlobalComponent(n);
    return !other || other == FRoot;
  };
  AnsiString r = Name;
  for (int i = 1; !unique(r); ++i) r = Name + "_" + std::to_string(i);
  return r;
}

void TReader::ReadData(TComponent* Instance) {
  bool ownFixups = FFixups == nullptr;
  if (ownFixups) FFixups = new std::vector<Fixup>();
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  TComponent* oldParent = FParent;
  TComponent* oldOwner = FOwner;
  FParent = Instance->GetChildParent();
  FOwner = Instance->GetChildOwner();
  if (!FOwner) FOwner = FRoot;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    FParent = oldParent;
    FOwner = oldOwner;
    throw;
  }
  FParent = oldParent;
  FOwner = oldOwner;
  if (ownFixups) FixupReferences();
}

void TReader::FixupReferences() {
  if (!FFixups) return;
  std::vector<Fixup> list;
  list.swap(*FFixups);
  for (auto& f : list) {
    TComponent* target = FindNestedComponent(FRoot, f.Name);
    if (target) {
      SetReference(f.Instance, f.Prop, target);
    } else {
      // Another root that is not loaded yet: wait for it.
      auto& g = Globals();
      std::lock_guard<std::recursive_mutex> lock(g.Lock);
      g.List.push_back({f.Instance, f.Prop, FRoot, f.Name});
      g.Count = g.List.size();
      if (auto* c = dynamic_cast<TComponent*>(f.Instance)) c->SetComponentState(csFixups);
    }
  }
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  if (++FDepth > kMaxDepth) Error(kInvalidImage);
  struct Guard {
    int& d;
    ~Guard() { --d; }
  } guard{FDepth};
  TFilerFlags flags;
  int pos = 0;
  ReadPrefix(flags, pos);
  AnsiString className = ReadStr();
  AnsiString name = ReadStr();
  TComponent* result = Component;
  bool created = false;
  try {
    if (!result) {
      if (flags.Contains(ffInherited)) {
        TComponent* owner = FOwner ? FOwner : FRoot;
        result = FindAncestorComponent(name, nullptr);
        if (!result && owner) result = owner->FindComponent(name);
        if (!result) Error("Ancestor for '" + name + "' not found");
      } else {
        TClass cls = FindClass(className);
        if (!cls->InheritsFrom(TComponent::StaticClass()) || cls->FactoryKind != TFactoryKind::Component)
          Error("Class " + className + " is not a component class");
        result = static_cast<TComponent*>(cls->CreateInstance(static_cast<TComponent*>(FOwner)));
        created = true;
      }
    }
    result->SetComponentState(csLoading);
    if (!flags.Contains(ffInherited)) {
      AnsiString n = name;
      try {
        SetName(result, n);
      } catch (EComponentError& e) {
        Error(e.Message);  // a duplicate or malformed name is a bad stream
      }
    }
    if (flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(result, pos);
    if (std::find(FLoaded.begin(), FLoaded.end(), result) == FLoaded.end()) FLoaded.push_back(result);
    result->SetComponentState(csReading);
    result->ReadState(this);
    result->ClearComponentState(csReading);
  } catch (...) {
    if (created) {
      FLoaded.erase(std::remove(FLoaded.begin(), FLoaded.end(), result), FLoaded.end());
      if (FFixups)
        FFixups->erase(std::remove_if(FFixups->begin(), FFixups->end(),
                                      [&](const Fixup& f) {
                                        auto* c = dynamic_cast<TComponent*>(f.Instance);
                                        return f.Instance == result || (c && c->Owner() == result);
                                      }),
                       FFixups->end());
      result->Free();
    } else if (result) {
      result->ClearComponentState(csReading);
    }
    throw;
  }
  return result;
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  ReadSignature();
  TComponent* result = nullptr;
  bool created = false;
  try {
    TFilerFlags flags;
    int pos;
    ReadPrefix(flags, pos);
    if (!Root) {
      AnsiString className = ReadStr();
      TClass cls = FindClass(className);
      if (!cls->InheritsFrom(TComponent::StaticClass()) || cls->FactoryKind != TFactoryKind::Component)
        Error("Class " + className + " is not a component class");
      result = static_cast<TComponent*>(cls->CreateInstance(static_cast<TComponent*>(nullptr)));
      created = true;
      FRoot = result;
      AnsiString name = ReadStr();
      result->SetComponentState(csLoading);
      result->SetComponentState(csReading);
      try {
        result->SetName(name);
      } catch (EComponentError& e) {
        Error(e.Message);
      }
    } else {
      result = Root;
      FRoot = result;
      ReadStr();  // the class name of the stream does not change the given root
      AnsiString name = ReadStr();
      result->SetComponentState(csLoading);
      result->SetComponentState(csReading);
      if (result->ComponentState().Contains(csDesigning)) {
        // keep the designer's name
      } else {
        AnsiString unique = FindUniqueName(name);
        if (OnSetName) OnSetName(this, result, unique);
        if (SetNameHook) SetNameHook(this, result, unique);
        try {
          result->SetName(unique);
        } catch (EComponentError& e) {
          Error(e.Message);
        }
      }
    }
    FRoot = result;
    if (!FLookupRoot) FLookupRoot = result;
    FOwner = result;
    FLoaded.clear();
    FLoaded.push_back(result);
    result->ReadState(this);
    result->ClearComponentState(csReading);
    std::vector<TComponent*> loaded;
    loaded.swap(FLoaded);
    for (TComponent* c : loaded) c->Loaded();
    GlobalFixupReferences();
  } catch (...) {
    if (result) RemoveFixupReferences(result, AnsiString());
    if (created) {
      FLoaded.clear();
      result->Free();
    } else {
      for (TComponent* c : FLoaded) {
        c->ClearComponentState(csReading);
        c->ClearComponentState(csLoading);
      }
      FLoaded.clear();
    }
    throw;
  }
  return result;
}

void TReader::ReadComponents(TComponent* AOwner, TComponent* AParent, const std::function<void(TComponent*)>& Proc) {
  FRoot = AOwner;
  FOwner = AOwner;
  FParent = AParent;
  FLookupRoot = AOwner;
  ReadSignature();
  try {
    while (!EndOfList()) {
      ReadSignature();
      TComponent* c = ReadComponent(nullptr);
      if (Proc) Proc(c);
    }
    ReadListEnd();
    FixupReferences();
    std::vector<TComponent*> loaded;
    loaded.swap(FLoaded);
    for (TComponent* c : loaded) c->Loaded();
  } catch (...) {
    FLoaded.clear();
    throw;
  }
}

// ======================================================================= TWriter

TWriter::TWriter(TStream* Stream, int BufSize) : TFiler(Stream) {
  FBuf.resize(static_cast<size_t>(std::max(BufSize, 256)));
}

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {
  }
}

void TWriter::FlushBuffer() {
  if (FBufPos) {
    size_t n = FBufPos;
    FBufPos = 0;
    StreamWrite(FStream, FBuf.data(), static_cast<Int64>(n));
  }
}

Int64 TWriter::Position() const { return StreamPos(FStream) + static_cast<Int64>(FBufPos); }

void TWriter::Write(const void* Buf, Int64 Count) {
  if (Count <= 0) return;
  auto n = static_cast<size_t>(Count);
  if (n <= FBuf.size() - FBufPos) {
    std::memcpy(FBuf.data() + FBufPos, Buf, n);
    FBufPos += n;
    return;
  }
  FlushBuffer();
  if (n >= FBuf.size()) {
    StreamWrite(FStream, Buf, Count);
    return;
  }
  std::memcpy(FBuf.data(), Buf, n);
  FBufPos = n;
}

void TWriter::WriteValue(TValueType Value) {
  Byte b = Value;
  Write(&b, 1);
}

void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }
void TWriter::WriteSignature() { Write("TPF0", 4); }

void TWriter::WritePrefix(TFilerFlags Flags, int AChildPos) {
  if (Flags.Empty()) return;
  Byte b = static_cast<Byte>(0xF0 | Flags.Bits());
  Write(&b, 1);
  if (Flags.Contains(ffChildPos)) WriteInteger(AChildPos);
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteInteger(Int64 Value) {
  if (Value >= -128 && Value <= 127) {
    WriteValue(vaInt8);
    int8_t v = static_cast<int8_t>(Value);
    Write(&v, 1);
  } else if (Value >= -32768 && Value <= 32767) {
    WriteValue(vaInt16);
    int16_t v = static_cast<int16_t>(Value);
    Write(&v, 2);
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    int32_t v = static_cast<int32_t>(Value);
    Write(&v, 4);
  } else {
    WriteValue(vaInt64);
    Write(&Value, 8);
  }
}

void TWriter::WriteFloat(double Value) {
  WriteValue(vaExtended);
  Byte b[10];
  dk_float::DoubleToExtended(Value, b);
  Write(b, 10);
}

void TWriter::WriteDouble(double Value) {
  WriteValue(vaDouble);
  Write(&Value, 8);
}

void TWriter::WriteSingle(float Value) {
  WriteValue(vaSingle);
  Write(&Value, 4);
}

void TWriter::WriteCurrency(Currency Value) {
  WriteValue(vaCurrency);
  Write(&Value.Value, 8);
}

void TWriter::WriteDate(TDateTime Value) {
  WriteValue(vaDate);
  Write(&Value, 8);
}

void TWriter::WriteStr(const AnsiString& Value) {
  if (Value.size() > 255) throw EWriteError("Name too long: " + Value.substr(0, 64) + "...");
  Byte n = static_cast<Byte>(Value.size());
  Write(&n, 1);
  Write(Value.data(), n);
}

static void WriteLength(TWriter* w, size_t n) {
  if (n > static_cast<size_t>(INT32_MAX)) throw EWriteError("Value too large for a form stream");
  int32_t len = static_cast<int32_t>(n);
  w->Write(&len, 4);
}

void TWriter::WriteString(const AnsiString& Value) {
  if (Value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(Value);
  } else {
    WriteValue(vaLString);
    WriteLength(this, Value.size());
    Write(Value.data(), static_cast<Int64>(Value.size()));
  }
}

void TWriter::WriteWideString(const WideString& Value) {
  WriteValue(vaWString);
  WriteLength(this, Value.size());
  Write(Value.data(), static_cast<Int64>(Value.size() * 2));
}

void TWriter::WriteUTF8String(const AnsiString& Utf8) {
  WriteValue(vaUTF8String);
  WriteLength(this, Utf8.size());
  Write(Utf8.data(), static_cast<Int64>(Utf8.size()));
}

void TWriter::WriteChar(char Value) { WriteString(AnsiString(1, Value)); }
void TWriter::WriteWideChar(char16_t Value) { WriteWideString(WideString(1, Value)); }

void TWriter::WriteIdent(const AnsiString& Ident) {
  if (SameIdent(Ident, "False"))
    WriteValue(vaFalse);
  else if (SameIdent(Ident, "True"))
    WriteValue(vaTrue);
  else if (SameIdent(Ident, "nil"))
    WriteValue(vaNil);
  else if (SameIdent(Ident, "Null"))
    WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteBinary(const void* Data, Int64 Count) {
  WriteValue(vaBinary);
  WriteLength(this, static_cast<size_t>(Count));
  Write(Data, Count);
}

void TWriter::WritePropName(const AnsiString& Name) { WriteStr(FPropPath + Name); }

void TWriter::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) {
  if (HasData && WriteData) {
    WritePropName(Name);
    WriteData(this);
  }
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                                   bool HasData) {
  if (HasData && WriteData) {
    WritePropName(Name);
    TMemoryStream ms;
    WriteData(&ms);
    WriteBinary(ms.Memory(), static_cast<Int64>(ms.Size()));
  }
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
  PTypeInfo type = Prop->PropType;
  switch (type->Kind) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet: {
      Int64 v = Prop->GetOrd(Instance);
      if (Prop->Default != TPropInfo::NoDefault && v == Prop->Default) return;
      if (type->Kind == tkSet && Prop->Default != TPropInfo::NoDefault &&
          static_cast<UInt64>(v) == static_cast<uint32_t>(Prop->Default))
        return;
      WritePropName(Prop->Name);
      if (type->Kind == tkInteger) {
        AnsiString ident;
        if (!type->Idents.empty() && IntToIdent(type, static_cast<Integer>(v), ident))
          WriteIdent(ident);
        else
          WriteInteger(v);
      } else if (type->Kind == tkChar) {
        WriteChar(static_cast<char>(v));
      } else if (type->Kind == tkWChar) {
        WriteWideChar(static_cast<char16_t>(v));
      } else if (type->Kind == tkEnumeration) {
        if (type->Name == "Boolean")
          WriteBoolean(v != 0);
        else
          WriteIdent(GetEnumName(type, static_cast<int>(v)));
      } else {
        WriteValue(vaSet);
        for (int i = 0; i < 64; ++i)
          if (static_cast<UInt64>(v) & (UInt64(1) << i)) WriteStr(GetEnumName(type->CompType, i));
        WriteStr(AnsiString());
      }
      return;
    }
    case tkInt64: {
      Int64 v = Prop->GetOrd(Instance);
      if (Prop->Default != TPropInfo::NoDefault && v == Prop->Default) return;
      WritePropName(Prop->Name);
      WriteInteger(v);
      return;
    }
    case tkFloat: {
      long double v = Prop->GetFloat(Instance);
      if (v == 0) return;
      WritePropName(Prop->Name);
      if (type->IsDate)
        WriteDate(static_cast<double>(v));
      else if (type->FloatType == ftSingle)
        WriteSingle(static_cast<float>(v));
      else if (type->FloatType == ftCurr)
        WriteCurrency(Currency::FromScaled(static_cast<Int64>(std::llround(v * 10000.0L))));
      else
        WriteFloat(static_cast<double>(v));
      return;
    }
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: {
      if (Prop->GetStr) {
        AnsiString s = Prop->GetStr(Instance);
        if (s.empty()) return;
        WritePropName(Prop->Name);
        WriteString(s);
      } else {
        WideString s = Prop->GetWStr(Instance);
        if (s.empty()) return;
        WritePropName(Prop->Name);
        WriteWideString(s);
      }
      return;
    }
    case tkMethod: {
      TMethod m = Prop->GetMeth(Instance);
      if (!m.Code || !FLookupRoot || m.Data != static_cast<TObject*>(FLookupRoot)) return;
      AnsiString name = PublishedMethodName(FLookupRoot->ClassType(), m.Code);
      if (name.empty()) return;
      WritePropName(Prop->Name);
      WriteIdent(name);
      return;
    }
    case tkClass: {
      TObject* obj = Prop->GetObj(Instance);
      if (!obj) return;
      auto* comp = dynamic_cast<TComponent*>(obj);
      if (comp && !comp->ComponentStyle().Contains(csSubComponent)) {
        AnsiString ref;
        if (comp == FLookupRoot)
          ref = comp->Name();
        else if (comp->Owner() && comp->Owner() == FLookupRoot)
          ref = comp->Name();
        else if (comp->Owner() && !comp->Owner()->Name().empty() && !comp->Name().empty())
          ref = comp->Owner()->Name() + "." + comp->Name();
        if (ref.empty()) return;
        WritePropName(Prop->Name);
        WriteIdent(ref);
        return;
      }
      auto* pers = dynamic_cast<TPersistent*>(obj);
      if (!pers) return;
      if (std::find(FWritingObjects.begin(), FWritingObjects.end(), pers) != FWritingObjects.end()) return;
      if (auto* coll = dynamic_cast<TCollection*>(pers)) {
        WritePropName(Prop->Name);
        WriteValue(vaCollection);
        WriteCollection(coll);
        return;
      }
      AnsiString saved = FPropPath;
      FPropPath += Prop->Name + ".";
      FWritingObjects.push_back(pers);
      try {
        WritePropertiesOf(pers);
      } catch (...) {
        FWritingObjects.pop_back();
        FPropPath = saved;
        throw;
      }
      FWritingObjects.pop_back();
      FPropPath = saved;
      return;
    }
    default:
      return;
  }
}

void TWriter::WritePropertiesOf(TPersistent* Instance) {
  for (PPropInfo p : GetPropList(Instance->ClassType())) {
    if (!p->GetProc) continue;
    if (!p->SetProc && p->PropType->Kind != tkClass) continue;
    if (!p->IsStored(Instance)) continue;
    WriteProperty(Instance, p);
  }
  Instance->DefineProperties(this);
}

void TWriter::WriteProperties(TPersistent* Instance) { WritePropertiesOf(Instance); }

void TWriter::WriteCollection(TCollection* Value) {
  AnsiString saved = FPropPath;
  FPropPath.clear();
  try {
    if (Value)
      for (int i = 0; i < Value->Count(); ++i) {
        WriteListBegin();
        WritePropertiesOf(Value->Items(i));
        WriteListEnd();
      }
    WriteListEnd();
  } catch (...) {
    FPropPath = saved;
    throw;
  }
  FPropPath = saved;
}

void TWriter::WriteData(TComponent* Instance) {
  WritePropertiesOf(Instance);
  WriteListEnd();
  Instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteComponent(TComponent* Component) {
  if (FWritingObjects.size() > kMaxDepth) throw EWriteError("Components nest too deeply");
  Component->SetComponentState(csWriting);
  FWritingObjects.push_back(Component);
  try {
    TFilerFlags flags;
    if (Component->ComponentState().Contains(csInline)) flags.Include(ffInline);
    WritePrefix(flags, 0);
    // A first byte of 0xF0 or more would read as flags.
    if (Component->ClassName().size() >= 0xF0) throw EWriteError("Class name too long: " + Component->ClassName());
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    Component->WriteState(this);
  } catch (...) {
    FWritingObjects.pop_back();
    Component->ClearComponentState(csWriting);
    throw;
  }
  FWritingObjects.pop_back();
  Component->ClearComponentState(csWriting);
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* AAncestor) {
  FRoot = Root;
  if (!FLookupRoot) FLookupRoot = Root;
  FAncestor = AAncestor;
  WriteSignature();
  WriteComponent(Root);
  FlushBuffer();
}

void TWriter::WriteRootComponent(TComponent* Root) { WriteDescendent(Root, nullptr); }

// ------------------------------------------------------------- stream entry points

TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Instance) {
  TReader reader(Stream, 4096);
  return reader.ReadRootComponent(Instance);
}

void WriteComponentToStream(TStream* Stream, TComponent* Instance) { WriteDescendentToStream(Stream, Instance, nullptr); }

void WriteDescendentToStream(TStream* Stream, TComponent* Instance, TComponent* Ancestor) {
  TWriter writer(Stream, 4096);
  writer.WriteDescendent(Instance, Ancestor);
}

