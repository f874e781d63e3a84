// The packet framer: cuts the byte stream received by a port into packets.
//
// A TComDataPacket collects received characters in a buffer, finds the start
// of a packet by a start string (or the OnCustomStart handler), its end by a
// length (Size), a stop string (or the OnCustomStop handler), and hands every
// complete packet to OnPacket; characters that belong to no packet go to
// OnDiscard. It attaches to a port through a TComLink; AddData feeds it text
// directly, with or without a port.
//
// The framing itself needs no platform header and builds in every kind; the
// attachment to a real port (SetComPort, Notification) is linked in only
// where the port exists.
#pragma once

#include "classlib/core/Classes.h"
#include "serial/CPort.h"

// OnPacket, OnDiscard: (Sender, Str).
using TComStrEvent = TClosure<void(TObject* Sender, const AnsiString& Str)>;
// OnCustomStart, OnCustomStop: (Sender, Str, Pos); Pos comes in as -1.
using TCustPacketEvent = TClosure<void(TObject* Sender, const AnsiString& Str, Integer& Pos)>;

class TComDataPacket : public TComponent {
  DK_CLASS(TComDataPacket, TComponent)
 public:
  explicit TComDataPacket(TComponent* AOwner);
  ~TComDataPacket() override;

  // Feeds text to the framer as if it had been received.
  void AddData(const AnsiString& Str);
  // Hands a non-empty buffer to OnDiscard, then (also when the handler
  // raises) clears it and returns to waiting for a start.
  void EmptyBuffer();
  // The link's receive handler: Count bytes of Buffer go to AddData.
  void RxBuf(TObject* Sender, const void* Buffer, Integer Count);

  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value);
  bool CaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool Value);
  bool IncludeStrings() const { return FIncludeStrings; }
  void SetIncludeStrings(bool Value) { FIncludeStrings = Value; }
  Integer MaxBufferSize() const { return FMaxBufferSize; }
  void SetMaxBufferSize(Integer Value) { FMaxBufferSize = Value; }
  const AnsiString& StartString() const { return FStartString; }
  void SetStartString(const AnsiString& Value);
  const AnsiString& StopString() const { return FStopString; }
  void SetStopString(const AnsiString& Value);
  Integer Size() const { return FSize; }
  void SetSize(Integer Value);

  // The link owned by the framer; its OnRxBuf is RxBuf.
  TComLink* Link() const { return FComLink; }
  // The characters received and not yet handed on, and whether they begin
  // a packet whose end has not been found.
  const AnsiString& Buffer() const { return FBuffer; }
  bool InPacket() const { return FInPacket; }

  TComStrEvent OnDiscard;
  TComStrEvent OnPacket;
  TCustPacketEvent OnCustomStart;
  TCustPacketEvent OnCustomStop;

  // Runs the framing over the buffer.
  virtual void HandleBuffer();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DoDiscard(const AnsiString& Str);
  virtual void DoPacket(const AnsiString& Str);
  virtual void DoCustomStart(const AnsiString& Str, Integer& Pos);
  virtual void DoCustomStop(const AnsiString& Str, Integer& Pos);

 private:
  bool HasStopRule() const;
  // 0-based index of Sub in Str from From on, or npos; an empty Sub is never found.
  std::size_t Find(const AnsiString& Sub, const AnsiString& Str, std::size_t From = 0) const;
  // One pass of start and stop search; true when a packet was delivered.
  bool FramePacket();
  AnsiString StripPacket(const AnsiString& Packet) const;
  void CheckBufferSize();
  void CreateLink();
  void FreeLink();
  // Provided by the port side (or its stand-in where no port exists).
  void AttachLink(TCustomComPort* Port);
  void DetachLink(TCustomComPort* Port);

  TComLink* FComLink = nullptr;
  TCustomComPort* FComPort = nullptr;
  AnsiString FStartString;
  AnsiString FStopString;
  Integer FMaxBufferSize = 1024;
  Integer FSize = 0;
  bool FIncludeStrings = false;
  bool FCaseInsensitive = false;
  bool FInPacket = false;
  AnsiString FBuffer;
};

template <class T>
class TPublisher;
// Publishes the framing properties and events (in the order forms write them).
void PublishFraming(TPublisher<TComDataPacket>& P);
