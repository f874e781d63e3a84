// The packet framer's framing (portable part).
#include "serial/CPortPacket.h"

#include "classlib/core/TypInfo.h"

#include <algorithm>
#include <string_view>

namespace {

// Upper case of the letters a to z only (other bytes, Cyrillic included, stay).
AnsiString UpperAscii(std::string_view S) {
  AnsiString r(S);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

}  // namespace

TComDataPacket::TComDataPacket(TComponent* AOwner) : TComponent(AOwner) {
  CreateLink();
}

void TComDataPacket::CreateLink() {
  FComLink = new TComLink();
  FComLink->OnRxBuf = TRxBufEvent(this, &TComDataPacket::RxBuf);
}

void TComDataPacket::FreeLink() {
  delete FComLink;
  FComLink = nullptr;
}

TComDataPacket::~TComDataPacket() {
  try {
    SetComPort(nullptr);
  } catch (...) {
    // the framer goes in any case; a failed unregistration must not escape a destructor
  }
  FreeLink();
}

void TComDataPacket::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FComPort != nullptr && AComponent == FComPort) {
    // The port is going away: forget it even when it no longer knows the link
    // (a notification runs inside the port's destruction and must not raise).
    TCustomComPort* old = FComPort;
    FComPort = nullptr;
    try {
      DetachLink(old);
    } catch (...) {
    }
  }
}

void TComDataPacket::SetComPort(TCustomComPort* Value) {
  if (Value == FComPort) return;
  if (FComPort != nullptr) {
    TCustomComPort* old = FComPort;
    FComPort = nullptr;
    DetachLink(old);
  }
  FComPort = Value;
  if (FComPort != nullptr) {
    try {
      AttachLink(FComPort);
    } catch (...) {
      FComPort = nullptr;
      throw;
    }
  }
}

// ------------------------------------------------------------------ setters

void TComDataPacket::SetStartString(const AnsiString& Value) {
  if (Value == FStartString) return;
  FStartString = Value;
  if (!ComponentState().Contains(csLoading)) EmptyBuffer();
}

void TComDataPacket::SetStopString(const AnsiString& Value) {
  if (Value == FStopString) return;
  FStopString = Value;
  if (!ComponentState().Contains(csLoading)) EmptyBuffer();
}

void TComDataPacket::SetSize(Integer Value) {
  if (Value == FSize) return;
  FSize = Value;
  if (!ComponentState().Contains(csLoading)) EmptyBuffer();
}

void TComDataPacket::SetCaseInsensitive(bool Value) {
  if (Value == FCaseInsensitive) return;
  FCaseInsensitive = Value;
  if (!ComponentState().Contains(csLoading)) EmptyBuffer();
}

// ------------------------------------------------------------------- events

void TComDataPacket::DoDiscard(const AnsiString& Str) {
  if (OnDiscard) OnDiscard(this, Str);
}

void TComDataPacket::DoPacket(const AnsiString& Str) {
  if (OnPacket) OnPacket(this, Str);
}

void TComDataPacket::DoCustomStart(const AnsiString& Str, Integer& Pos) {
  if (OnCustomStart) OnCustomStart(this, Str, Pos);
}

void TComDataPacket::DoCustomStop(const AnsiString& Str, Integer& Pos) {
  if (OnCustomStop) OnCustomStop(this, Str, Pos);
}

// ------------------------------------------------------------------ framing

void TComDataPacket::RxBuf(TObject* Sender, const void* Buffer, Integer Count) {
  if (Buffer == nullptr || Count <= 0) return;
  AddData(AnsiString(static_cast<const char*>(Buffer), static_cast<std::size_t>(Count)));
}

bool TComDataPacket::HasStopRule() const {
  return FSize > 0 || !FStopString.empty() || static_cast<bool>(OnCustomStop);
}

void TComDataPacket::AddData(const AnsiString& Str) {
  if (!HasStopRule()) {
    DoPacket(Str);
    return;
  }
  FBuffer += Str;
  HandleBuffer();
}

void TComDataPacket::EmptyBuffer() {
  if (FBuffer.empty()) return;
  struct Clear {
    TComDataPacket* Self;
    ~Clear() {
      Self->FBuffer.clear();
      Self->FInPacket = false;
    }
  } clear{this};
  const AnsiString discarded = FBuffer;  // the handler may change the buffer
  DoDiscard(discarded);
}

std::size_t TComDataPacket::Find(const AnsiString& Sub, const AnsiString& Str, std::size_t From) const {
  if (Sub.empty() || From > Str.size()) return AnsiString::npos;
  if (!FCaseInsensitive) return Str.find(Sub, From);
  return UpperAscii(Str).find(UpperAscii(Sub), From);
}

void TComDataPacket::CheckBufferSize() {
  if (FMaxBufferSize > 0 && FBuffer.size() >= static_cast<std::size_t>(FMaxBufferSize)) EmptyBuffer();
}

// The rest of a chunk is framed in a loop (never by recursion), so a chunk of
// any number of packets runs in constant stack.
void TComDataPacket::HandleBuffer() {
  try {
    while (FramePacket()) {
    }
  } catch (...) {
    CheckBufferSize();
    throw;
  }
  CheckBufferSize();
}

bool TComDataPacket::FramePacket() {
  // Start search.
  if (!FInPacket) {
    Integer p = -1;
    DoCustomStart(FBuffer, p);
    std::size_t start = AnsiString::npos;  // 0-based
    if (p > 0) {
      // A start beyond the buffer drops all that is buffered; the packet
      // begins with the next character received.
      start = std::min(static_cast<std::size_t>(p) - 1, FBuffer.size());
    } else if (p == -1) {
      if (FStartString.empty())
        start = 0;
      else
        start = Find(FStartString, FBuffer);
    }
    if (start != AnsiString::npos) {
      FInPacket = true;
      if (start > 0) {
        AnsiString discarded = FBuffer.substr(0, start);
        FBuffer.erase(0, start);
        DoDiscard(discarded);
      }
    }
  }
  if (!FInPacket) return false;

  // Stop search.
  Integer p = -1;
  DoCustomStop(FBuffer, p);
  std::size_t length = 0;  // 0: no packet yet
  if (p > 0) {
    // The handler must point inside what has arrived; beyond it, wait for more.
    if (static_cast<std::size_t>(p) <= FBuffer.size()) length = static_cast<std::size_t>(p);
  } else if (p == -1) {
    if (FSize > 0 && FBuffer.size() >= static_cast<std::size_t>(FSize)) {
      length = static_cast<std::size_t>(FSize);
    } else {
      const std::size_t skip = FStartString.size();
      std::size_t q = Find(FStopString, FBuffer, std::min(skip, FBuffer.size()));
      if (q != AnsiString::npos) length = q + FStopString.size();
    }
  }
  if (length == 0) return false;

  FInPacket = false;
  AnsiString packet = FBuffer.substr(0, length);
  FBuffer.erase(0, length);
  if (!FIncludeStrings) packet = StripPacket(packet);
  DoPacket(packet);
  return true;
}

AnsiString TComDataPacket::StripPacket(const AnsiString& Packet) const {
  AnsiString r = Packet;
  if (!FStartString.empty() && Find(FStartString, r) == 0) r.erase(0, FStartString.size());
  if (!FStopString.empty() && r.size() >= FStopString.size() &&
      Find(FStopString, r) == r.size() - FStopString.size())
    r.erase(r.size() - FStopString.size());
  return r;
}

// The properties every build publishes; the port-bound build adds ComPort first.
void PublishFraming(TPublisher<TComDataPacket>& P) {
  P.Property("CaseInsensitive", &TComDataPacket::CaseInsensitive, &TComDataPacket::SetCaseInsensitive)
      .Default(false);
  P.Property("IncludeStrings", &TComDataPacket::IncludeStrings, &TComDataPacket::SetIncludeStrings)
      .Default(false);
  P.Property("MaxBufferSize", &TComDataPacket::MaxBufferSize, &TComDataPacket::SetMaxBufferSize)
      .Default(1024);
  P.Property("StartString", &TComDataPacket::StartString, &TComDataPacket::SetStartString);
  P.Property("StopString", &TComDataPacket::StopString, &TComDataPacket::SetStopString);
  P.Property("Size", &TComDataPacket::Size, &TComDataPacket::SetSize).Default(0);
  P.Property("OnDiscard", &TComDataPacket::OnDiscard);
  P.Property("OnPacket", &TComDataPacket::OnPacket);
  P.Property("OnCustomStart", &TComDataPacket::OnCustomStart);
  P.Property("OnCustomStop", &TComDataPacket::OnCustomStop);
}
