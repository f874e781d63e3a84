// Form streaming: the binary component format ("TPF0"), its reader and
// writer, and the text form format with converters both ways (part of Classes.h).
//
// Binary layout: "TPF0", then one component:
//   [prefix byte 0xF0|flags (ffInherited 1, ffChildPos 2, ffInline 4), then the
//    child position as an integer value when ffChildPos]
//   class name and object name as short strings (length byte + bytes)
//   properties: (short-string name, typed value)*, then an empty name
//   children: component*, then 0
// A typed value is one byte of TValueType followed by its data (little endian).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "classlib/core/ClassesObjects.h"

struct TPropInfo;

enum TValueType : Byte {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary,
  vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String,
  vaDouble
};

enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

using TFindMethodEvent = TClosure<void(TReader* Reader, const AnsiString& MethodName, void*& Address, bool& Error)>;
using TSetNameEvent = TClosure<void(TReader* Reader, TComponent* Component, AnsiString& Name)>;
using TReaderError = TClosure<void(TReader* Reader, const AnsiString& Message, bool& Handled)>;

// The hook by which names of other roots ("Form2.Button1") are found; the
// Windows half installs one that searches the screen's forms and data modules.
using TFindGlobalComponent = std::function<TComponent*(const AnsiString& Name)>;
void RegisterFindGlobalComponent(TFindGlobalComponent Proc);
TComponent* FindGlobalComponent(const AnsiString& Name);

// Reads components from a stream. Every malformed, truncated or unknown piece
// of input raises EReadError (EClassNotFound for an unknown class).
class TReader : public TFiler {
  DK_CLASS(TReader, TFiler)
 public:
  explicit TReader(TStream* Stream, int BufSize = 4096);
  ~TReader() override;

  void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  // Whole components.
  TComponent* ReadRootComponent(TComponent* Root);
  TComponent* ReadComponent(TComponent* Component);
  void ReadComponents(TComponent* AOwner, TComponent* AParent, const std::function<void(TComponent*)>& Proc);
  void ReadSignature();
  void ReadPrefix(TFilerFlags& Flags, int& AChildPos);
  // Reads the properties and children of Instance (TComponent::ReadState calls it).
  void ReadData(TComponent* Instance);
  void ReadCollection(TCollection* Collection);
  void ReadProperty(TPersistent* Instance);

  // Typed values.
  TValueType ReadValue();
  TValueType NextValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  char ReadChar();
  char16_t ReadWideChar();
  Integer ReadInteger();
  Int64 ReadInt64();
  double ReadFloat();
  float ReadSingle();
  Currency ReadCurrency();
  TDateTime ReadDate();
  AnsiString ReadString();        // any string value, as code page 1251
  WideString ReadWideString();    // any string value, as UTF-16
  AnsiString ReadIdent();
  AnsiString ReadStr();           // a short string (length byte + bytes)
  void SkipValue();
  void Read(void* Buf, Int64 Count);
  void CheckValue(TValueType Value);

  // The owner and parent given to components read from here on.
  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }
  void SetLookupRoot(TComponent* Value) { FLookupRoot = Value; }
  Int64 Position() const;

  TSetNameEvent OnSetName;
  TFindMethodEvent OnFindMethod;
  TReaderError OnError;
  // Non-event form of OnSetName for plain code (called after OnSetName).
  std::function<void(TReader*, TComponent*, AnsiString&)> SetNameHook;

  // Resolves the references read so far against the root (and the global list).
  void FixupReferences();
  [[noreturn]] void Error(const AnsiString& Message);

 protected:
  virtual void SetName(TComponent* Component, AnsiString& Name);
  virtual TComponent* FindAncestorComponent(const AnsiString& Name, TClass ComponentClass) { return nullptr; }
  virtual TMethod FindMethodInstance(TComponent* Root, const AnsiString& MethodName, const TPropInfo* Prop);
  virtual bool HandleError(const AnsiString& Message);

 private:
  struct Fixup;
  void FillBuffer(size_t need);
  Byte ReadByte();
  void ReadBytes(void* dst, size_t n);
  // A value of fixed size as the stream holds it (little-endian, as the host).
  template <class T>
  T ReadFixed() {
    T v;
    ReadBytes(&v, sizeof v);
    return v;
  }
  AnsiString ReadRawString(TValueType t);
  Int64 ReadIntegerValue(TValueType t);
  double ReadFloatValue(TValueType t);
  void ReadPropValue(TPersistent* Instance, const TPropInfo* Prop);
  void SkipSetBody();
  void SkipProperty();
  void SkipComponent(bool SkipHeader);
  AnsiString FindUniqueName(const AnsiString& Name);
  void AddReference(TPersistent* Instance, const TPropInfo* Prop, const AnsiString& Name);
  void ReadBinaryInto(TStream* Dest);

  std::vector<Byte> FBuf;
  size_t FBufPos = 0;
  size_t FBufEnd = 0;
  Int64 FStreamBase = 0;  // stream position of FBuf[0]
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  AnsiString FPropName;
  bool FPropHandled = false;
  std::vector<Fixup>* FFixups = nullptr;
  std::vector<TComponent*> FLoaded;
  int FDepth = 0;
};

// Writes components to a stream in the binary format.
class TWriter : public TFiler {
  DK_CLASS(TWriter, TFiler)
 public:
  explicit TWriter(TStream* Stream, int BufSize = 4096);
  ~TWriter() override;

  void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  // Writes Root and the children it owns; events are written only when their
  // method belongs to the lookup root (Root unless set otherwise).
  void WriteRootComponent(TComponent* Root);
  void WriteDescendent(TComponent* Root, TComponent* AAncestor);
  void WriteComponent(TComponent* Component);
  void WriteSignature();
  void WritePrefix(TFilerFlags Flags, int AChildPos);
  void WriteProperties(TPersistent* Instance);
  // Writes the properties and children of Instance (TComponent::WriteState calls it).
  void WriteData(TComponent* Instance);
  void WriteCollection(TCollection* Value);
  void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);

  void WriteValue(TValueType Value);
  void WriteListBegin();
  void WriteListEnd();
  void WriteBoolean(bool Value);
  void WriteChar(char Value);
  void WriteWideChar(char16_t Value);
  void WriteInteger(Int64 Value);
  void WriteFloat(double Value);     // vaExtended (10 bytes)
  void WriteDouble(double Value);    // vaDouble
  void WriteSingle(float Value);
  void WriteCurrency(Currency Value);
  void WriteDate(TDateTime Value);
  void WriteString(const AnsiString& Value);        // vaString / vaLString (bytes)
  void WriteWideString(const WideString& Value);    // vaWString (UTF-16LE)
  void WriteUTF8String(const AnsiString& Utf8);     // vaUTF8String
  void WriteIdent(const AnsiString& Ident);
  void WriteStr(const AnsiString& Value);           // short string
  void WriteBinary(const void* Data, Int64 Count);  // vaBinary
  void Write(const void* Buf, Int64 Count);
  void FlushBuffer();
  Int64 Position() const;

  void SetLookupRoot(TComponent* Value) { FLookupRoot = Value; }
  // The property path prefix while writing sub-objects ("Font.").
  const AnsiString& PropPath() const { return FPropPath; }

 private:
  void WritePropName(const AnsiString& Name);
  void WritePropertiesOf(TPersistent* Instance);

  std::vector<Byte> FBuf;
  size_t FBufPos = 0;
  AnsiString FPropPath;
  bool FRootWritten = false;
  std::vector<TPersistent*> FWritingObjects;
};

// Entry points on streams (TStream::ReadComponent and friends call these).
TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Instance);
void WriteComponentToStream(TStream* Stream, TComponent* Instance);
void WriteDescendentToStream(TStream* Stream, TComponent* Instance, TComponent* Ancestor);

// Resolves references to components of other roots that are now loaded.
void GlobalFixupReferences();
// Forgets pending references held by or pointing into Root (called when a component goes).
void RemoveFixupReferences(TComponent* Root, const AnsiString& RootName);
// Forgets the pending references whose holder is Instance.
void RemoveFixups(TPersistent* Instance);

// ----------------------------------------------------------------- text forms
//
//   object Form1: TForm1                 (or "inherited", "inline"; "[n]" after
//     Left = 10                           the class gives the child position)
//     Caption = 'It''s'#13#10'ok'         strings: quoted parts and #nnn code points
//     Font.Name = 'Tahoma'                sub-objects by dotted names
//     Anchors = [akLeft, akTop]           sets
//     Ratio = 1.5                         floats (suffix s single, c currency, d date)
//     Lines.Strings = ( 'a' 'b' )         lists
//     Data = { 0A0B0C }                   binary, hex
//     Items = < item Caption = 'x' end >  collections ("item [n]" keeps an order)
//     OnClick = Button1Click              identifiers; True/False/nil
//     object Button1: TButton ... end     children
//   end
// Text is read as UTF-8 (a byte that is not valid UTF-8 is taken as code
// page 1251); the text written is plain ASCII with #nnn for anything else.
//
// Strings made of code page 1251 characters become vaString/vaLString bytes,
// others vaWString. The binary-to-text direction shows 8-bit strings through
// code page 1251.

// Resolves a binary include "{ @file 'path' }" to its bytes; without a
// resolver the include form is an error.
using TIncludeResolver = std::function<RawByteString(const AnsiString& Path)>;

void ObjectTextToBinary(TStream* Input, TStream* Output);
void ObjectBinaryToText(TStream* Input, TStream* Output);
// The same on byte strings; errors raise EParserError (text) or EReadError (binary).
RawByteString ObjectTextToBinaryBytes(const RawByteString& Text, const TIncludeResolver& Include = nullptr);
RawByteString ObjectBinaryToTextBytes(const RawByteString& Binary);
