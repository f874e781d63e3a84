// Streams (part of Classes.h): TStream and its file, memory and string kinds.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/core/ClassesObjects.h"
#include "classlib/core/SysUtils.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

// File open modes: one access mode combined with one share mode, or fmCreate.
enum : Word {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TStream : public TObject {
  DK_CLASS(TStream, TObject)
 public:
  TStream() = default;
  ~TStream() override = default;

  // Transfers up to Count bytes and returns how many moved.
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  // Returns the new position.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize) {}

  // Whole transfers: a short read raises EReadError, a short write EWriteError.
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  // Copies Count bytes from Source at its position; Count 0 copies the whole
  // of Source from its start. Returns the number of bytes copied.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  // Form streaming entry points.
  TComponent* ReadComponent(TComponent* Instance);
  void WriteComponent(TComponent* Instance);
  void WriteDescendent(TComponent* Instance, TComponent* Ancestor);
};

// A stream over an operating-system file handle.
class THandleStream : public TStream {
  DK_CLASS(THandleStream, TStream)
 public:
  explicit THandleStream(std::intptr_t AHandle) : FHandle(AHandle) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  std::intptr_t Handle() const { return FHandle; }

 protected:
  std::intptr_t FHandle;
};

// A file opened by name. Failures raise EFCreateError or EFOpenError naming
// the file and the system's reason.
class TFileStream : public THandleStream {
  DK_CLASS(TFileStream, THandleStream)
 public:
  TFileStream(const AnsiString& AFileName, Word Mode);
  ~TFileStream() override;
  const AnsiString& FileName() const { return FFileName; }

 private:
  AnsiString FFileName;
};

class TCustomMemoryStream : public TStream {
  DK_CLASS(TCustomMemoryStream, TStream)
 public:
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override { return 0; }
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FSize; }
  void* Memory() const { return FMemory; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName);

 protected:
  // Points the stream at a block it does not own.
  void SetPointer(void* Ptr, Int64 ASize);
  void* FMemory = nullptr;
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  DK_CLASS(TMemoryStream, TCustomMemoryStream)
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override = default;
  Integer Write(const void* Buffer, Integer Count) override;
  void SetSize(Int64 NewSize) override;
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const AnsiString& FileName);
  Int64 Capacity() const { return static_cast<Int64>(FData.size()); }

 private:
  void Reserve(Int64 NewCapacity);
  std::vector<unsigned char> FData;
};

// A stream over an 8-bit string.
class TStringStream : public TStream {
  DK_CLASS(TStringStream, TStream)
 public:
  explicit TStringStream(const AnsiString& AString = AnsiString()) : FDataString(AString) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return static_cast<Int64>(FDataString.size()); }
  void SetSize(Int64 NewSize) override;
  AnsiString ReadString(Integer Count);
  void WriteString(const AnsiString& AString);
  const AnsiString& DataString() const { return FDataString; }

 private:
  AnsiString FDataString;
  Int64 FPosition = 0;
};

// A read-only stream over a resource of a module (defined by the Windows half).
class TResourceStream : public TCustomMemoryStream {
  DK_CLASS(TResourceStream, TCustomMemoryStream)
 public:
  TResourceStream(std::uintptr_t Instance, const AnsiString& ResName, const char* ResType);
  TResourceStream(std::uintptr_t Instance, Integer ResID, const char* ResType);
  Integer Write(const void* Buffer, Integer Count) override;
};
