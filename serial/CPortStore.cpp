// Port settings kept in an INI file or the registry, and the texts of the
// settings' values as the stores and the setup lists show them.
#include <memory>

#include "classlib/ui/IniFiles.h"
#include "classlib/ui/Registry.h"
#include "serial/CPortInternal.h"

namespace {

const char* const kBaudTexts[] = {"Custom", "110",   "300",   "600",   "1200",   "2400",   "4800",   "9600",
                                  "14400",  "19200", "38400", "56000", "57600",  "115200", "128000", "256000"};
const char* const kStopTexts[] = {"1", "1.5", "2"};
const char* const kDataTexts[] = {"5", "6", "7", "8"};
const char* const kParityTexts[] = {"None", "Odd", "Even", "Mark", "Space"};
const char* const kFlowTexts[] = {"Hardware", "Software", "None", "Custom"};
const char* const kRTSTexts[] = {"Disable", "Enable", "Handshake", "Toggle"};
const char* const kDTRTexts[] = {"Disable", "Enable", "Handshake"};

template <size_t N>
int TextIndex(const char* const (&texts)[N], const AnsiString& s, int fallback) {
  AnsiString u = UpperCase(s);
  for (size_t i = 0; i < N; ++i)
    if (UpperCase(texts[i]) == u) return static_cast<int>(i);
  return fallback;
}

AnsiString BoolToText(bool b) { return b ? "Yes" : "No"; }
bool TextToBool(const AnsiString& s) { return UpperCase(s) == "YES"; }

AnsiString CharToText(char c) {
  auto code = static_cast<unsigned char>(c);
  if (code >= 33 && code <= 127) return AnsiString(1, c);
  return "#" + IntToStr(static_cast<int>(code));
}

char TextToChar(const AnsiString& s) {
  if (s.empty()) return 0;
  if (s.size() >= 2 && s[0] == '#') return static_cast<char>(StrToIntDef(s.substr(1), 0) & 0xFF);
  return s[0];
}

TRTSFlowControl StrToRTS(const AnsiString& s) { return static_cast<TRTSFlowControl>(TextIndex(kRTSTexts, s, rtsDisable)); }
TDTRFlowControl StrToDTR(const AnsiString& s) { return static_cast<TDTRFlowControl>(TextIndex(kDTRTexts, s, dtrDisable)); }

}  // namespace

AnsiString BaudRateToStr(TBaudRate BaudRate) { return kBaudTexts[BaudRate]; }
AnsiString StopBitsToStr(TStopBits StopBits) { return kStopTexts[StopBits]; }
AnsiString DataBitsToStr(TDataBits DataBits) { return kDataTexts[DataBits]; }
AnsiString ParityToStr(TParityBits Parity) { return kParityTexts[Parity]; }
AnsiString FlowControlToStr(TFlowControl FlowControl) { return kFlowTexts[FlowControl]; }
TBaudRate StrToBaudRate(const AnsiString& Str) { return static_cast<TBaudRate>(TextIndex(kBaudTexts, Str, br9600)); }
TStopBits StrToStopBits(const AnsiString& Str) { return static_cast<TStopBits>(TextIndex(kStopTexts, Str, sbOneStopBit)); }
TDataBits StrToDataBits(const AnsiString& Str) { return static_cast<TDataBits>(TextIndex(kDataTexts, Str, dbEight)); }
TParityBits StrToParity(const AnsiString& Str) { return static_cast<TParityBits>(TextIndex(kParityTexts, Str, prNone)); }
TFlowControl StrToFlowControl(const AnsiString& Str) {
  return static_cast<TFlowControl>(TextIndex(kFlowTexts, Str, fcCustom));
}

// ----------------------------------------------------------- settings store

namespace {

// One route for both stores: text and integer values by name; a reader's
// default is the current value's text (the registry has no defaults).
struct TSettingsIO {
  virtual ~TSettingsIO() = default;
  virtual void WriteText(const AnsiString& Name, const AnsiString& Value) = 0;
  virtual void WriteInt(const AnsiString& Name, Integer Value) = 0;
  virtual AnsiString ReadText(const AnsiString& Name, const AnsiString& Default) = 0;
  virtual Integer ReadInt(const AnsiString& Name, Integer Default) = 0;
};

struct TIniIO : TSettingsIO {
  TCustomIniFile* Ini;
  AnsiString Section;
  TIniIO(TCustomIniFile* ini, const AnsiString& section) : Ini(ini), Section(section) {}
  void WriteText(const AnsiString& n, const AnsiString& v) override { Ini->WriteString(Section, n, v); }
  void WriteInt(const AnsiString& n, Integer v) override { Ini->WriteInteger(Section, n, v); }
  AnsiString ReadText(const AnsiString& n, const AnsiString& d) override { return Ini->ReadString(Section, n, d); }
  Integer ReadInt(const AnsiString& n, Integer d) override { return Ini->ReadInteger(Section, n, d); }
};

struct TRegIO : TSettingsIO {
  TRegistry* Reg;
  explicit TRegIO(TRegistry* reg) : Reg(reg) {}
  void WriteText(const AnsiString& n, const AnsiString& v) override { Reg->WriteString(n, v); }
  void WriteInt(const AnsiString& n, Integer v) override { Reg->WriteInteger(n, v); }
  AnsiString ReadText(const AnsiString& n, const AnsiString&) override { return Reg->ReadString(n); }
  Integer ReadInt(const AnsiString& n, Integer) override { return Reg->ReadInteger(n); }
};

}  // namespace

namespace {

void StoreAll(TCustomComPort* p, TSettingsIO& io) {
  TStoredProps sp = p->StoredProps();
  if (sp.Contains(spBasic)) {
    io.WriteText("Port", p->Port());
    io.WriteText("BaudRate", BaudRateToStr(p->BaudRate()));
    if (p->BaudRate() == brCustom) io.WriteInt("CustomBaudRate", p->CustomBaudRate());
    io.WriteText("StopBits", StopBitsToStr(p->StopBits()));
    io.WriteText("DataBits", DataBitsToStr(p->DataBits()));
    io.WriteText("Parity", ParityToStr(p->Parity()->Bits()));
    io.WriteText("FlowControl", FlowControlToStr(p->FlowControl()->FlowControl()));
  }
  if (sp.Contains(spOthers)) {
    io.WriteText("EventChar", CharToText(p->EventChar()));
    io.WriteText("DiscardNull", BoolToText(p->DiscardNull()));
  }
  if (sp.Contains(spParity)) {
    io.WriteText("Parity.Check", BoolToText(p->Parity()->Check()));
    io.WriteText("Parity.Replace", BoolToText(p->Parity()->Replace()));
    io.WriteText("Parity.ReplaceChar", CharToText(p->Parity()->ReplaceChar()));
  }
  if (sp.Contains(spBuffer)) {
    io.WriteInt("Buffer.OutputSize", p->Buffer()->OutputSize());
    io.WriteInt("Buffer.InputSize", p->Buffer()->InputSize());
  }
  if (sp.Contains(spTimeouts)) {
    TComTimeouts* t = p->Timeouts();
    io.WriteInt("Timeouts.ReadInterval", t->ReadInterval());
    io.WriteInt("Timeouts.ReadTotalConstant", t->ReadTotalConstant());
    io.WriteInt("Timeouts.ReadTotalMultiplier", t->ReadTotalMultiplier());
    io.WriteInt("Timeouts.WriteTotalConstant", t->WriteTotalConstant());
    io.WriteInt("Timeouts.WriteTotalMultiplier", t->WriteTotalMultiplier());
  }
  if (sp.Contains(spFlowControl)) {
    TComFlowControl* f = p->FlowControl();
    io.WriteText("FlowControl.ControlRTS", kRTSTexts[f->ControlRTS()]);
    io.WriteText("FlowControl.ControlDTR", kDTRTexts[f->ControlDTR()]);
    io.WriteText("FlowControl.DSRSensitivity", BoolToText(f->DSRSensitivity()));
    io.WriteText("FlowControl.OutCTSFlow", BoolToText(f->OutCTSFlow()));
    io.WriteText("FlowControl.OutDSRFlow", BoolToText(f->OutDSRFlow()));
    io.WriteText("FlowControl.TxContinueOnXoff", BoolToText(f->TxContinueOnXoff()));
    io.WriteText("FlowControl.XonXoffIn", BoolToText(f->XonXoffIn()));
    io.WriteText("FlowControl.XonXoffOut", BoolToText(f->XonXoffOut()));
    io.WriteText("FlowControl.XoffChar", CharToText(f->XoffChar()));
    io.WriteText("FlowControl.XonChar", CharToText(f->XonChar()));
  }
}

void LoadAll(TCustomComPort* p, TSettingsIO& io) {
  TStoredProps sp = p->StoredProps();
  if (sp.Contains(spBasic)) {
    p->SetPort(io.ReadText("Port", p->Port()));
    p->SetBaudRate(StrToBaudRate(io.ReadText("BaudRate", BaudRateToStr(p->BaudRate()))));
    if (p->BaudRate() == brCustom) p->SetCustomBaudRate(io.ReadInt("CustomBaudRate", 9600));
    p->SetStopBits(StrToStopBits(io.ReadText("StopBits", StopBitsToStr(p->StopBits()))));
    p->SetDataBits(StrToDataBits(io.ReadText("DataBits", DataBitsToStr(p->DataBits()))));
    p->Parity()->SetBits(StrToParity(io.ReadText("Parity", ParityToStr(p->Parity()->Bits()))));
    p->FlowControl()->SetFlowControl(
        StrToFlowControl(io.ReadText("FlowControl", FlowControlToStr(p->FlowControl()->FlowControl()))));
  }
  if (sp.Contains(spOthers)) {
    p->SetEventChar(TextToChar(io.ReadText("EventChar", CharToText(p->EventChar()))));
    p->SetDiscardNull(TextToBool(io.ReadText("DiscardNull", BoolToText(p->DiscardNull()))));
  }
  if (sp.Contains(spParity)) {
    TComParity* r = p->Parity();
    r->SetCheck(TextToBool(io.ReadText("Parity.Check", BoolToText(r->Check()))));
    r->SetReplace(TextToBool(io.ReadText("Parity.Replace", BoolToText(r->Replace()))));
    r->SetReplaceChar(TextToChar(io.ReadText("Parity.ReplaceChar", CharToText(r->ReplaceChar()))));
  }
  if (sp.Contains(spBuffer)) {
    TComBuffer* b = p->Buffer();
    b->SetOutputSize(io.ReadInt("Buffer.OutputSize", b->OutputSize()));
    b->SetInputSize(io.ReadInt("Buffer.InputSize", b->InputSize()));
  }
  if (sp.Contains(spTimeouts)) {
    TComTimeouts* t = p->Timeouts();
    t->SetReadInterval(io.ReadInt("Timeouts.ReadInterval", t->ReadInterval()));
    t->SetReadTotalConstant(io.ReadInt("Timeouts.ReadTotalConstant", t->ReadTotalConstant()));
    t->SetReadTotalMultiplier(io.ReadInt("Timeouts.ReadTotalMultiplier", t->ReadTotalMultiplier()));
    t->SetWriteTotalConstant(io.ReadInt("Timeouts.WriteTotalConstant", t->WriteTotalConstant()));
    t->SetWriteTotalMultiplier(io.ReadInt("Timeouts.WriteTotalMultiplier", t->WriteTotalMultiplier()));
  }
  if (sp.Contains(spFlowControl)) {
    TComFlowControl* f = p->FlowControl();
    f->SetControlRTS(StrToRTS(io.ReadText("FlowControl.ControlRTS", kRTSTexts[f->ControlRTS()])));
    f->SetControlDTR(StrToDTR(io.ReadText("FlowControl.ControlDTR", kDTRTexts[f->ControlDTR()])));
    f->SetDSRSensitivity(TextToBool(io.ReadText("FlowControl.DSRSensitivity", BoolToText(f->DSRSensitivity()))));
    f->SetOutCTSFlow(TextToBool(io.ReadText("FlowControl.OutCTSFlow", BoolToText(f->OutCTSFlow()))));
    f->SetOutDSRFlow(TextToBool(io.ReadText("FlowControl.OutDSRFlow", BoolToText(f->OutDSRFlow()))));
    f->SetTxContinueOnXoff(
        TextToBool(io.ReadText("FlowControl.TxContinueOnXoff", BoolToText(f->TxContinueOnXoff()))));
    f->SetXonXoffIn(TextToBool(io.ReadText("FlowControl.XonXoffIn", BoolToText(f->XonXoffIn()))));
    f->SetXonXoffOut(TextToBool(io.ReadText("FlowControl.XonXoffOut", BoolToText(f->XonXoffOut()))));
    f->SetXoffChar(TextToChar(io.ReadText("FlowControl.XoffChar", CharToText(f->XoffChar()))));
    f->SetXonChar(TextToChar(io.ReadText("FlowControl.XonChar", CharToText(f->XonChar()))));
  }
}

// Opens the registry key of a settings path: root name, "\", key path; the
// component's name is appended. False when no key opens.
bool OpenSettingsKey(TRegistry* reg, const AnsiString& path, const AnsiString& name) {
  size_t slash = path.find('\\');
  if (slash == AnsiString::npos) return false;
  AnsiString root = UpperCase(path.substr(0, slash));
  if (root == "HKEY_LOCAL_MACHINE")
    reg->SetRootKey(HKEY_LOCAL_MACHINE);
  else if (root == "HKEY_CURRENT_USER")
    reg->SetRootKey(HKEY_CURRENT_USER);
  AnsiString key = path.substr(slash + 1);
  if (key.empty()) return false;
  if (key.back() != '\\') key += '\\';
  key += name;
  return reg->OpenKey(key, true);
}

}  // namespace

void TCustomComPort::StoreIniFile(TCustomIniFile* IniFile) {
  TIniIO io(IniFile, Name());
  StoreAll(this, io);
}

void TCustomComPort::StoreRegistry(TRegistry* Reg) {
  TRegIO io(Reg);
  StoreAll(this, io);
}

void TCustomComPort::LoadIniFile(TCustomIniFile* IniFile) {
  TIniIO io(IniFile, Name());
  LoadAll(this, io);
}

void TCustomComPort::LoadRegistry(TRegistry* Reg) {
  TRegIO io(Reg);
  LoadAll(this, io);
}

void TCustomComPort::StoreSettings(TStoreType StoreType, const AnsiString& StoreTo) {
  try {
    if (StoreType == stIniFile) {
      std::unique_ptr<TIniFile> ini(new TIniFile(StoreTo));
      StoreIniFile(ini.get());
    } else {
      std::unique_ptr<TRegistry> reg(new TRegistry());
      if (!OpenSettingsKey(reg.get(), StoreTo, Name())) throw EComPort(CError_StoreFailed);
      StoreRegistry(reg.get());
    }
  } catch (...) {
    throw EComPort(CError_StoreFailed);
  }
}

void TCustomComPort::LoadSettings(TStoreType StoreType, const AnsiString& LoadFrom) {
  BeginUpdate();
  try {
    try {
      if (StoreType == stIniFile) {
        std::unique_ptr<TIniFile> ini(new TIniFile(LoadFrom));
        LoadIniFile(ini.get());
      } else {
        std::unique_ptr<TRegistry> reg(new TRegistry());
        // A path that opens no key reads every text as empty.
        if (!OpenSettingsKey(reg.get(), LoadFrom, Name()) && LoadFrom.find('\\') != AnsiString::npos &&
            LoadFrom.substr(LoadFrom.find('\\') + 1).empty())
          throw EComPort(CError_LoadFailed);
        LoadRegistry(reg.get());
      }
    } catch (...) {
      throw EComPort(CError_LoadFailed);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}
