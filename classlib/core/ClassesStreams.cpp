// Streams.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "classlib/core/Classes.h"
#include "classlib/core/SysConsts.h"
#include "classlib/core/platform/Platform.h"

// -------------------------------------------------------------------- TStream

Int64 TStream::Size() {
  Int64 pos = Seek(0, soCurrent);
  Int64 size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count)) throw EReadError(&SReadError);
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count)) throw EWriteError(&SWriteError);
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (!Source) return 0;
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  if (Count < 0) throw EReadError(&SReadError);
  const Int64 total = Count;
  const Integer kBuf = 0xF000;
  std::unique_ptr<char[]> buf(new char[static_cast<std::size_t>(std::min<Int64>(Count, kBuf)) + 1]);
  while (Count > 0) {
    Integer n = static_cast<Integer>(std::min<Int64>(Count, kBuf));
    Source->ReadBuffer(buf.get(), n);
    WriteBuffer(buf.get(), n);
    Count -= n;
  }
  return total;
}

TComponent* TStream::ReadComponent(TComponent* Instance) { return ReadComponentFromStream(this, Instance); }
void TStream::WriteComponent(TComponent* Instance) { WriteComponentToStream(this, Instance); }
void TStream::WriteDescendent(TComponent* Instance, TComponent* Ancestor) {
  WriteDescendentToStream(this, Instance, Ancestor);
}

// -------------------------------------------------------------- THandleStream

Integer THandleStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  std::intptr_t r = dk_platform::FileRead(FHandle, Buffer, Count);
  return r < 0 ? 0 : static_cast<Integer>(r);
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  std::intptr_t r = dk_platform::FileWrite(FHandle, Buffer, Count);
  return r < 0 ? 0 : static_cast<Integer>(r);
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  return dk_platform::FileSeek(FHandle, Offset, static_cast<int>(Origin));
}

void THandleStream::SetSize(Int64 NewSize) {
  Int64 pos = Position();
  Seek(NewSize, soBeginning);
  if (!dk_platform::FileTruncate(FHandle)) RaiseLastOSError();
  if (pos < NewSize) Seek(pos, soBeginning);
}

// ---------------------------------------------------------------- TFileStream

TFileStream::TFileStream(const AnsiString& AFileName, Word Mode) : THandleStream(-1), FFileName(AFileName) {
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = dk_platform::FileCreate(AFileName);
    if (FHandle == -1) {
      Cardinal err = dk_platform::LastError();
      throw EFCreateError(&SFCreateError, {ExpandFileName(AFileName), SysErrorMessage(err)});
    }
  } else {
    Word access = Mode & 3;
    dk_platform::TOpenMode m = access == fmOpenWrite       ? dk_platform::omWrite
                               : access == fmOpenReadWrite ? dk_platform::omReadWrite
                                                           : dk_platform::omRead;
    FHandle = dk_platform::FileOpen(AFileName, m);
    if (FHandle == -1) {
      Cardinal err = dk_platform::LastError();
      throw EFOpenError(&SFOpenError, {ExpandFileName(AFileName), SysErrorMessage(err)});
    }
  }
}

TFileStream::~TFileStream() {
  if (FHandle != -1) dk_platform::FileClose(FHandle);
}

// -------------------------------------------------------- TCustomMemoryStream

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 ASize) {
  FMemory = Ptr;
  FSize = ASize;
}

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0 || FPosition < 0 || FPosition >= FSize) return 0;
  Int64 n = std::min<Int64>(Count, FSize - FPosition);
  std::memcpy(Buffer, static_cast<const char*>(FMemory) + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return static_cast<Integer>(n);
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
  }
  if (FPosition < 0) FPosition = 0;
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (FSize > 0x7FFFFFFF) throw EWriteError(&SWriteError);
  if (FSize) Stream->WriteBuffer(FMemory, static_cast<Integer>(FSize));
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
  TFileStream s(FileName, fmCreate);
  SaveToStream(&s);
}

// -------------------------------------------------------------- TMemoryStream

void TMemoryStream::Reserve(Int64 NewCapacity) {
  if (NewCapacity <= static_cast<Int64>(FData.size())) return;
  if (NewCapacity > (Int64(1) << 40)) throw EStreamError(&SMemoryStreamError);
  // Grow in blocks of 8 KB, and at least by a quarter, so that many small
  // writes stay cheap.
  Int64 cap = std::max<Int64>(NewCapacity, static_cast<Int64>(FData.size()) + static_cast<Int64>(FData.size()) / 4);
  cap = (cap + 0x1FFF) & ~Int64(0x1FFF);
  try {
    FData.resize(static_cast<std::size_t>(cap));
  } catch (const std::bad_alloc&) {
    throw EStreamError(&SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EStreamError(&SMemoryStreamError);
  }
  FMemory = FData.data();
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  Reserve(NewSize);
  if (NewSize > FSize) std::memset(FData.data() + FSize, 0, static_cast<std::size_t>(NewSize - FSize));
  FSize = NewSize;
  if (FPosition > NewSize) FPosition = NewSize;
  FMemory = FData.empty() ? nullptr : FData.data();
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0 || FPosition < 0) return 0;
  Int64 end = FPosition + Count;
  if (end > FSize) {
    Reserve(end);
    if (FPosition > FSize) std::memset(FData.data() + FSize, 0, static_cast<std::size_t>(FPosition - FSize));
    FSize = end;
  }
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
  FPosition = end;
  FMemory = FData.data();
  return Count;
}

void TMemoryStream::Clear() {
  std::vector<unsigned char>().swap(FData);
  FMemory = nullptr;
  FSize = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 count = Stream->Size();
  SetSize(count);
  if (count > 0x7FFFFFFF) throw EReadError(&SReadError);
  if (count) Stream->ReadBuffer(FData.data(), static_cast<Integer>(count));
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
  TFileStream s(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&s);
}

// -------------------------------------------------------------- TStringStream

Integer TStringStream::Read(void* Buffer, Integer Count) {
  Int64 size = static_cast<Int64>(FDataString.size());
  if (Count <= 0 || FPosition >= size) return 0;
  Int64 n = std::min<Int64>(Count, size - FPosition);
  std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return static_cast<Integer>(n);
}

Integer TStringStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  std::size_t end = static_cast<std::size_t>(FPosition) + static_cast<std::size_t>(Count);
  if (end > FDataString.size()) FDataString.resize(end, '\0');
  std::memcpy(&FDataString[static_cast<std::size_t>(FPosition)], Buffer, static_cast<std::size_t>(Count));
  FPosition = static_cast<Int64>(end);
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 size = static_cast<Int64>(FDataString.size());
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = size + Offset; break;
  }
  if (FPosition > size) FPosition = size;
  if (FPosition < 0) FPosition = 0;
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  FDataString.resize(static_cast<std::size_t>(NewSize));
  if (FPosition > NewSize) FPosition = NewSize;
}

AnsiString TStringStream::ReadString(Integer Count) {
  Int64 size = static_cast<Int64>(FDataString.size());
  Int64 n = std::max<Int64>(0, std::min<Int64>(Count, size - FPosition));
  AnsiString r = FDataString.substr(static_cast<std::size_t>(FPosition), static_cast<std::size_t>(n));
  FPosition += n;
  return r;
}

void TStringStream::WriteString(const AnsiString& AString) {
  Write(AString.data(), static_cast<Integer>(AString.size()));
}
