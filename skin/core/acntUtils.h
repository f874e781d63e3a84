// The skin library's toolbox: INI text held in string lists, rectangle and
// number functions, words and strings, files and folders, message shortcuts,
// published-property access and a few system queries.
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"
#include "classlib/core/Types.h"
#include "skin/core/sConst.h"

#ifdef _WIN32
#include "classlib/ui/Controls.h"
#include "classlib/ui/Graphics.h"
#endif

// ------------------------------------------------------- INI text in string lists

// Splits the lines of an INI text into sections: the section list gets the
// section names (case and spaces kept) with a string list of each section's
// raw lines as object; the section list owns those. Empty lines, comment lines
// (";") and lines before the first section are dropped.
void GetIniSections(TStringList* Source, TStringList* Sections);
// The key names of a section, in order (Keys is cleared first).
void GetIniSection(const AnsiString& Section, TStringList* Sections, TStrings* Keys);
// The text after "Key=" of the section's line whose name is Key; Default when
// the section or the key is missing. Nothing is trimmed. Lines is not read.
AnsiString ReadIniString(TStringList* Lines, TStringList* Sections, const AnsiString& Section, const AnsiString& Key,
                         const AnsiString& Default);
// The same as a number ("0x" and "$" give hexadecimal); Default when missing or
// not a number.
Integer ReadIniInteger(TStringList* Lines, TStringList* Sections, const AnsiString& Section, const AnsiString& Key,
                       Integer Default);

// ------------------------------------------------------------------- scopes

// Sets a flag for a scope and clears it at the end, whatever happens.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
};

// ----------------------------------------------------------- numbers and rectangles

inline Integer WidthOf(const TRect& R, bool CheckNegative = false) {
  Integer w = R.Right - R.Left;
  return CheckNegative && w < 0 ? 0 : w;
}
inline Integer HeightOf(const TRect& R, bool CheckNegative = false) {
  Integer h = R.Bottom - R.Top;
  return CheckNegative && h < 0 ? 0 : h;
}
inline TCacheInfo MakeCacheInfo(TacBitmap* Bmp, Integer X = 0, Integer Y = 0) {
  return TCacheInfo{Bmp, X, Y, sFuchsia, TRect{}, true};
}
inline Integer Maxi(Integer A, Integer B) { return A > B ? A : B; }
inline Integer Mini(Integer A, Integer B) { return A < B ? A : B; }
inline Integer LimitIt(Integer Value, Integer Min, Integer Max) { return Value < Min ? Min : Value > Max ? Max : Value; }
inline bool Between(Integer Value, Integer A, Integer B) {
  return A <= B ? Value >= A && Value <= B : Value >= B && Value <= A;
}
inline void Changei(Integer& A, Integer& B) {
  Integer t = A;
  A = B;
  B = t;
}
// Two transparency percentages combined: Round((100 - B) * A / 100 + B).
Integer SumTrans(Integer A, Integer B);
inline AnsiString iff(bool Cond, const AnsiString& A, const AnsiString& B) { return Cond ? A : B; }
inline TObject* iffo(bool Cond, TObject* A, TObject* B) { return Cond ? A : B; }
inline Integer iffi(bool Cond, Integer A, Integer B) { return Cond ? A : B; }
inline Byte WordToByte_(Word W) { return static_cast<Byte>(W & 0xFF); }
// A hexadecimal text ("1F", "1fh") as a number; 0 for an empty text or one
// holding any other character.
Int64 HexToInt(const AnsiString& S);
// Round(Frac(Value) * 100).
SmallInt GetCents(Extended Value);
// Round((Value + 0.000001) * 100) / 100.
double CurRound(double Value);
// False when a character is not a digit, sign, exponent or the decimal
// separator; otherwise whether the first 63 characters read as a number.
bool IsValidFloat(const AnsiString& S, Extended& Value);
// S with the thousand separator between groups of three digits of its
// integer part (when ThousandSep).
AnsiString FormatFloatStr(const AnsiString& S, bool ThousandSep);
bool RectIsVisible(const TRect& R1, const TRect& R2);
bool RectInRect(const TRect& Outer, const TRect& Inner);
inline TRect RotateRect(const TRect& R) { return TRect{R.Top, R.Left, R.Bottom, R.Right}; }
TRect RectsAnd(const TRect& R1, const TRect& R2);
inline TPoint OffsetPoint(const TPoint& P, Integer DX, Integer DY) { return TPoint{P.X + DX, P.Y + DY}; }

// ------------------------------------------------------------ words and strings

// A set of the 256 characters.
class TacCharSet {
 public:
  TacCharSet() = default;
  TacCharSet(std::initializer_list<char> chars) {
    for (char c : chars) Include(c);
  }
  void Include(char c) { FBits[static_cast<Byte>(c)] = true; }
  bool Contains(char c) const { return FBits[static_cast<Byte>(c)]; }

 private:
  bool FBits[256] = {};
};

inline bool CharInSet(char C, const TacCharSet& Set) { return Set.Contains(C); }
inline bool acCharIn(char C, const TacCharSet& Set) { return Set.Contains(C); }
// Position (from 1) of the first character of the N-th word; 0 when S has
// fewer words. A word is a maximal run of characters outside Delims.
Integer WordPosition(Integer N, const AnsiString& S, const TacCharSet& Delims);
AnsiString ExtractWord(Integer N, const AnsiString& S, const TacCharSet& Delims);
Integer WordCount(const AnsiString& S, const TacCharSet& Delims);
inline Integer acWordPosition(Integer N, const AnsiString& S, const TacCharSet& D) { return WordPosition(N, S, D); }
inline AnsiString acExtractWord(Integer N, const AnsiString& S, const TacCharSet& D) { return ExtractWord(N, S, D); }
inline Integer acWordCount(const AnsiString& S, const TacCharSet& D) { return WordCount(S, D); }
// The number of the first word equal to W; -1 when none.
Integer GetWordNumber(const AnsiString& W, const AnsiString& S, const TacCharSet& Delims);
bool IsWordPresent(const AnsiString& W, const AnsiString& S, const TacCharSet& Delims);
AnsiString AnsiProperCase(const AnsiString& S, const TacCharSet& Delims);
AnsiString MakeStr(char C, Integer N);
inline AnsiString acMakeString(char C, Integer N) { return MakeStr(C, N); }
inline void acFillString(AnsiString& S, Integer N, char C) { S = MakeStr(C, N); }
AnsiString AddChar(char C, const AnsiString& S, Integer N);
AnsiString AddCharR(char C, const AnsiString& S, Integer N);
AnsiString DelBSpace(const AnsiString& S);
AnsiString DelESpace(const AnsiString& S);
AnsiString DelRSpace(const AnsiString& S);
AnsiString DelChars(const AnsiString& S, char C);
AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Search, const AnsiString& Replace);
// The text from Pos up to the next delimiter; Pos moves past it.
AnsiString ExtractSubStr(const AnsiString& S, Integer& Pos, const TacCharSet& Delims);
bool IsEmptyStr(const AnsiString& S, const TacCharSet& EmptyChars);
bool SubStrInclude(const AnsiString& SubStr, const AnsiString& S, bool IgnoreCase);
AnsiString CorrectString(const AnsiString& S);
inline bool acSameText(const AnsiString& A, const AnsiString& B) { return AnsiSameText(A, B); }

// ------------------------------------------------------------ files and folders

AnsiString NormalDir(const AnsiString& Dir);
bool acDirExists(const AnsiString& Name);
bool ValidFileName(const AnsiString& Name);
Int64 GetFileSize(const AnsiString& Name);
bool CopyFiles(const AnsiString& Mask, const AnsiString& SrcDir, const AnsiString& DstDir);
bool MoveFiles(const AnsiString& Mask, const AnsiString& SrcDir, const AnsiString& DstDir);
bool ClearDir(const AnsiString& Dir, bool DelDir);
void GetDirs(const AnsiString& Path, TStrings* List);
bool acCreateDir(const AnsiString& Name);
bool acRemoveDir(const AnsiString& Name);
bool acSetCurrentDir(const AnsiString& Name);
bool acDeleteFile(const AnsiString& Name);
AnsiString acGetCurrentDir();
bool acCopyFile(const AnsiString& Src, const AnsiString& Dst, bool FailIfExists);
Integer acFileSetAttr(const AnsiString& Name, Integer Attr);
Integer acFileGetAttr(const AnsiString& Name);
inline Integer acFindFirst(const AnsiString& Path, Integer Attr, TSearchRec& Rec) { return FindFirst(Path, Attr, Rec); }
inline Integer acFindNext(TSearchRec& Rec) { return FindNext(Rec); }
inline void acFindClose(TSearchRec& Rec) { FindClose(Rec); }
// The program's folder with its trailing separator.
AnsiString GetAppPath();
// The program's file name without extension, in lower case.
AnsiString GetAppName();

// ------------------------------------------------ published properties by name

bool HasProperty(TObject* Obj, const AnsiString& Name);
TObject* GetObjProp(TObject* Obj, const AnsiString& Name);
void SetObjProp(TObject* Obj, const AnsiString& Name, TObject* Value);
Integer GetIntProp(TObject* Obj, const AnsiString& Name);
void SetIntProp(TObject* Obj, const AnsiString& Name, Integer Value);
bool CheckSetProp(TObject* Obj, const AnsiString& Name, const AnsiString& Element);
bool SetSetPropValue(TObject* Obj, const AnsiString& Name, const AnsiString& Element, bool Include);

// -------------------------------------------------------------------- Windows

#ifdef _WIN32
AnsiString OemToAnsiStr(const AnsiString& S);
AnsiString ShortToLongFileName(const AnsiString& Name);
AnsiString LongToShortFileName(const AnsiString& Name);
AnsiString ShortToLongPath(const AnsiString& Path);
AnsiString LongToShortPath(const AnsiString& Path);
bool acFindFirstFile(const AnsiString& Path, HANDLE& Handle, WIN32_FIND_DATAW& Data);
bool acFindNextFile(HANDLE Handle, WIN32_FIND_DATAW& Data);
AnsiString GetSystemDir();
// The shell icon of an existing file (Flags 1: the small one); nullptr when none.
TIcon* GetIconForFile(const AnsiString& Name, UINT Flags);

// Message shortcuts through the skinned message dialog.
void ShowWarning(const AnsiString& S);
void ShowError(const AnsiString& S);
bool CustomRequest(const AnsiString& S);
bool DeleteRequest();
void Alert();
void Alert(const AnsiString& S);
void Alert(Integer N);

// A message record of its four values.
TMessage MakeMessage(Cardinal Msg, WPARAM WParam, LPARAM LParam, LRESULT Result);

Integer GetCaptionFontSize();
HFONT acGetTitleFont();
bool acGetAnimation();
void acSetAnimation(bool Value);
bool IsNTFamily();
bool IsWOW64Proc();
bool IsIDERunning();
// Handles the application's messages for MS milliseconds.
void Delay(Cardinal MS);
#endif
